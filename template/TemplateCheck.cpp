// The check of templates against the catalogue, the pack and the pairing of their blocks.
#include "template/TemplateCheck.h"

#include "template/StyleSheetUrls.h"
#include "template/TemplateBlocks.h"
#include "template/TemplateCatalogue.h"
#include "template/TemplatePack.h"
#include "template/TemplateReader.h"
#include "template/Utf8Text.h"

#include <algorithm>
#include <unordered_set>

namespace {

// „ and “, the German quotation marks around every name in a message.
const std::string kOpen = "\u201E";
const std::string kClose = "\u201C";

std::string Quoted(std::string_view text) { return kOpen + Utf8Of(text) + kClose; }

// The construct as written, for messages: "%%IF:name%%".
std::string Construct(const TTplToken &token, std::string_view text) {
  return Quoted(text.substr(token.Offset, token.Length));
}

class TCollector {
public:
  TCollector(std::string_view name, std::vector<TTplFinding> &out) : name_(name), out_(out) {}
  void Add(std::uint32_t line, std::uint32_t column, std::string text) {
    out_.push_back({std::string(name_), line, column, std::move(text)});
  }
  void Add(const TTplToken &at, std::string text) { Add(at.Line, at.Column, std::move(text)); }

private:
  std::string_view name_;
  std::vector<TTplFinding> &out_;
};

std::string BlockIssueText(TTplBlockIssue issue, const TTplToken *opening, std::string_view text) {
  switch (issue) {
  case TTplBlockIssue::StrayElse:
    return kOpen + "%%ELSE%%" + kClose + " ohne " + kOpen + "%%IF:\u2026%%" + kClose;
  case TTplBlockIssue::StrayEndIf:
    return kOpen + "%%ENDIF%%" + kClose + " ohne " + kOpen + "%%IF:\u2026%%" + kClose;
  case TTplBlockIssue::StrayEndLoop:
    return kOpen + "%%ENDLOOP%%" + kClose + " ohne " + kOpen + "%%LOOP:\u2026%%" + kClose;
  case TTplBlockIssue::SecondElse:
    return "Zweites " + kOpen + "%%ELSE%%" + kClose + " zu " + Construct(*opening, text) +
           " aus Zeile " + std::to_string(opening->Line);
  case TTplBlockIssue::UnclosedIf:
    return Construct(*opening, text) + " ohne " + kOpen + "%%ENDIF%%" + kClose;
  case TTplBlockIssue::UnclosedLoop:
    return Construct(*opening, text) + " ohne " + kOpen + "%%ENDLOOP%%" + kClose;
  }
  return {};
}

std::string MissingFile(std::string_view name) {
  return "Das Pack enth\u00E4lt keine Datei " + Quoted(name);
}

// A style sheet goes out as it is: a construct in it stays in the page as written, and
// its addresses are relative to its own place in the pack.
void CheckStyleSheet(std::string_view name, std::string_view text, const TTemplatePack &pack,
                     TCollector &found) {
  struct TAt {
    std::size_t Offset;
    std::string Text;
  };
  std::vector<TAt> at;
  TTemplateReader reader(text);
  TTplToken token;
  while (reader.Next(token)) {
    if (token.Kind != TTplKind::Text && token.Kind != TTplKind::Unclosed)
      at.push_back(
          {token.Offset, "Im Style-Sheet wird " + Construct(token, text) + " nicht ersetzt"});
  }
  ForEachStyleSheetUrl(text, [&](std::size_t offset, std::size_t length) {
    const std::string target = PackNameOfAddress(name, text.substr(offset, length));
    if (!target.empty() && !pack.HasFile(target) && !pack.HasTemplate(target))
      at.push_back({offset, MissingFile(target)});
  });
  std::stable_sort(at.begin(), at.end(),
                   [](const TAt &a, const TAt &b) { return a.Offset < b.Offset; });
  TLineCounter lines(text);
  for (TAt &a : at) {
    lines.MoveTo(a.Offset);
    found.Add(lines.Line(), lines.ColumnOf(a.Offset), std::move(a.Text));
  }
}

} // namespace

const std::vector<std::string> &TTemplateCheck::IncludesOf(std::string_view name) const {
  const std::string key(name);
  if (const auto it = includes_.find(key); it != includes_.end())
    return it->second;
  std::vector<std::string> targets;
  const std::string *text = IsStyleSheetName(name) ? nullptr : pack_.TemplateText(name);
  if (text) {
    TTemplateReader reader(*text);
    TTplToken token;
    while (reader.Next(token))
      if (token.Kind == TTplKind::Include)
        targets.emplace_back(token.Name(*text));
  }
  return includes_.emplace(key, std::move(targets)).first->second;
}

bool TTemplateCheck::LeadsBackTo(std::string_view from, std::string_view target) const {
  // Depth first through the includes of `from`, each template visited once.
  std::unordered_set<std::string_view> seen;
  std::vector<std::string_view> todo{from};
  while (!todo.empty()) {
    const std::string_view name = todo.back();
    todo.pop_back();
    if (name == target)
      return true;
    if (!seen.insert(name).second)
      continue;
    for (const std::string &next : IncludesOf(name))
      todo.push_back(next);
  }
  return false;
}

std::vector<TTplFinding> TTemplateCheck::CheckText(std::string_view name,
                                                   std::string_view text) const {
  std::vector<TTplFinding> findings;
  TCollector found(name, findings);
  if (IsStyleSheetName(name)) {
    CheckStyleSheet(name, text, pack_, found);
    return findings;
  }
  const bool names = !catalogue_.Empty();
  TTplBlockMatcher blocks;
  blocks.OnIssue = [&](TTplBlockIssue issue, const TTplToken &at, const TTplToken *opening) {
    found.Add(at, BlockIssueText(issue, opening, text));
  };
  // A page may include the same template on every line; whether it leads back is asked once.
  std::unordered_map<std::string_view, bool> leadsBack;
  TTemplateReader reader(text);
  TTplToken token;
  std::size_t index = 0;
  while (reader.Next(token)) {
    const std::string_view arg = token.Name(text);
    switch (token.Kind) {
    case TTplKind::Text: break;
    case TTplKind::Variable:
      if (arg == "tpl_url") {
        const std::string_view path = TplUrlPathAt(text, token.End());
        if (!path.empty()) {
          const std::string target = PackNameOfAddress("", path);
          if (!target.empty() && !pack_.HasFile(target) && !pack_.HasTemplate(target))
            found.Add(token.Line, token.Column + static_cast<std::uint32_t>(token.Length),
                      MissingFile(target));
        }
      }
      if (names && !catalogue_.HasVariable(arg))
        found.Add(token, "Unbekannte Variable " + Quoted(arg));
      break;
    case TTplKind::Lang:
      if (names && !catalogue_.LangText(arg))
        found.Add(token, "Unbekannter Sprachtext " + Quoted(arg));
      break;
    case TTplKind::If:
    case TTplKind::Loop:
    case TTplKind::Include:
      if (arg.empty()) {
        found.Add(token, Construct(token, text) + " ohne Namen");
      } else if (token.Kind == TTplKind::If) {
        if (names && !catalogue_.HasVariable(arg))
          found.Add(token, "Unbekannte Variable " + Quoted(arg));
      } else if (token.Kind == TTplKind::Loop) {
        if (names && !catalogue_.HasLoop(arg))
          found.Add(token, "Unbekannte Schleife " + Quoted(arg));
      } else if (!pack_.HasTemplate(arg)) {
        found.Add(token, "Das Pack enth\u00E4lt kein Template " + Quoted(arg));
      } else {
        const auto [it, fresh] = leadsBack.try_emplace(arg, false);
        if (fresh)
          it->second = LeadsBackTo(arg, name);
        if (it->second)
          found.Add(token,
                    Construct(token, text) + " bindet dieses Template wieder ein (Endlosschleife)");
      }
      break;
    case TTplKind::Directive:
      found.Add(token, "Unbekannte Anweisung " + Quoted(text.substr(token.Offset, token.Length)));
      break;
    case TTplKind::Unclosed:
      found.Add(token, kOpen + "%%" + kClose + " ohne schlie\u00DFendes " + kOpen + "%%" + kClose);
      break;
    default: break;
    }
    blocks.Feed(token, index++);
  }
  blocks.Finish(index);
  std::stable_sort(findings.begin(), findings.end(),
                   [](const TTplFinding &a, const TTplFinding &b) {
                     return a.Line != b.Line ? a.Line < b.Line : a.Column < b.Column;
                   });
  return findings;
}

std::vector<TTplFinding> TTemplateCheck::CheckTemplate(std::string_view name) const {
  const std::string *text = pack_.TemplateText(name);
  return text ? CheckText(name, *text) : std::vector<TTplFinding>{};
}

std::vector<TTplFinding> TTemplateCheck::CheckPack() const {
  std::vector<TTplFinding> all;
  for (const std::string &name : pack_.TemplateNames()) {
    std::vector<TTplFinding> one = CheckTemplate(name);
    all.insert(all.end(), std::make_move_iterator(one.begin()), std::make_move_iterator(one.end()));
  }
  return all;
}
