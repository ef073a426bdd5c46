// Resolving a template into the page the preview shows.
#include "template/PreviewResolver.h"

#include "template/TemplateBlocks.h"
#include "template/TemplateCatalogue.h"
#include "template/TemplatePack.h"
#include "template/TemplateReader.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

const char *const kPreviewBase = "kzpack://pack/";

namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);
constexpr int kMaxIncludeDepth = 16;

// One template read for building: its tokens and the pairs of its blocks.
struct TRead {
  std::string_view Text;
  std::vector<TTplToken> Tokens;
  std::vector<std::size_t> End, Else; // per IF or LOOP token; npos elsewhere
};

std::unique_ptr<TRead> ReadForBuilding(std::string_view text) {
  auto read = std::make_unique<TRead>();
  read->Text = text;
  TTemplateReader reader(text);
  TTplToken token;
  while (reader.Next(token))
    read->Tokens.push_back(token);
  read->End.assign(read->Tokens.size(), npos);
  read->Else.assign(read->Tokens.size(), npos);
  TTplBlockMatcher blocks;
  blocks.OnBlock = [&](std::size_t open, std::size_t elseAt, std::size_t end) {
    read->End[open] = end;
    read->Else[open] = elseAt;
  };
  for (std::size_t i = 0; i < read->Tokens.size(); ++i)
    blocks.Feed(read->Tokens[i], i);
  blocks.Finish(read->Tokens.size());
  return read;
}

class TBuilder {
public:
  TBuilder(const TTemplateCatalogue &catalogue, const TTemplatePack &pack,
           const TPreviewOptions &options,
           const std::function<std::string(std::string_view)> &urlOf)
      : catalogue_(catalogue), pack_(pack), options_(options), urlOf_(urlOf) {}

  void Template(std::string_view name, std::size_t pass) {
    const std::string *text = pack_.TemplateText(name);
    if (!text)
      return;
    if (IsStyleSheetName(name)) {
      Append(*text);
      return;
    }
    auto it = read_.find(std::string(name));
    if (it == read_.end())
      it = read_.emplace(std::string(name), ReadForBuilding(*text)).first;
    const TRead &read = *it->second;
    stack_.push_back(name);
    Range(read, 0, read.Tokens.size(), pass);
    stack_.pop_back();
  }

  std::string Take() {
    if (cut_)
      out_ += PreviewMarker("Vorschau gek\xFCrzt");
    return std::move(out_);
  }

private:
  void Append(std::string_view bytes) {
    if (cut_)
      return;
    if (out_.size() + bytes.size() > options_.MaxBytes) {
      out_.append(bytes.substr(0, options_.MaxBytes - out_.size()));
      cut_ = true;
      return;
    }
    out_.append(bytes);
  }

  void Variable(std::string_view name, std::size_t pass) {
    if (name == "tpl_folder" && !pack_.Folder().empty()) {
      Append(pack_.Folder());
      return;
    }
    const std::vector<std::string> *samples = catalogue_.Samples(name);
    if (!samples || samples->empty()) {
      Append(PreviewMarker(name));
      return;
    }
    Append((*samples)[pass % samples->size()]);
  }

  void Include(std::string_view name, std::size_t pass) {
    if (!pack_.HasTemplate(name)) {
      Append(PreviewMarker("INCLUDE:" + std::string(name) + " fehlt"));
    } else if (std::find(stack_.begin(), stack_.end(), name) != stack_.end() ||
               stack_.size() >= kMaxIncludeDepth) {
      // Including itself, the page would never end; the preview shows where it stops.
      Append(PreviewMarker("INCLUDE:" + std::string(name) + " Endlosschleife"));
    } else {
      Template(name, pass);
    }
  }

  void Range(const TRead &read, std::size_t begin, std::size_t end, std::size_t pass) {
    const std::string_view text = read.Text;
    std::size_t skipTo = 0; // text before this offset went into a %%tpl_url%% address
    for (std::size_t i = begin; i < end && !cut_; ++i) {
      const TTplToken &t = read.Tokens[i];
      const std::string_view name = t.Name(text);
      switch (t.Kind) {
      case TTplKind::Text:
        if (t.End() > skipTo)
          Append(text.substr(std::max(t.Offset, skipTo), t.End() - std::max(t.Offset, skipTo)));
        break;
      case TTplKind::Variable:
        if (name == "tpl_url") {
          const std::string_view path = TplUrlPathAt(text, t.End());
          Append(urlOf_(path));
          skipTo = t.End() + path.size();
        } else {
          Variable(name, pass);
        }
        break;
      case TTplKind::Lang:
        if (const std::string *wording = catalogue_.LangText(name))
          Append(*wording);
        else
          Append(PreviewMarker(name));
        break;
      case TTplKind::Include: Include(name, pass); break;
      case TTplKind::If: {
        const std::size_t elseAt = read.Else[i], blockEnd = read.End[i];
        if (!options_.OtherBranch)
          Range(read, i + 1, elseAt != npos ? elseAt : blockEnd, pass);
        else if (elseAt != npos)
          Range(read, elseAt + 1, blockEnd, pass);
        i = blockEnd;
        break;
      }
      case TTplKind::Loop: {
        const std::size_t blockEnd = read.End[i];
        for (int k = 0; k < options_.LoopPasses; ++k)
          Range(read, i + 1, blockEnd, static_cast<std::size_t>(k));
        i = blockEnd;
        break;
      }
      case TTplKind::Directive:
        Append(PreviewMarker(text.substr(t.Offset + 2, t.Length - 4)));
        break;
      case TTplKind::Unclosed: Append(text.substr(t.Offset, t.Length)); break;
      default: // an ELSE, ENDIF or ENDLOOP that pairs with nothing shows nothing
        break;
      }
    }
  }

  const TTemplateCatalogue &catalogue_;
  const TTemplatePack &pack_;
  const TPreviewOptions &options_;
  const std::function<std::string(std::string_view)> &urlOf_;
  std::unordered_map<std::string, std::unique_ptr<TRead>> read_;
  std::vector<std::string_view> stack_;
  std::string out_;
  bool cut_ = false;
};

} // namespace

TPreviewResolver::TPreviewResolver(const TTemplateCatalogue &catalogue, const TTemplatePack &pack,
                                   TPreviewOptions options)
    : UrlOf([](std::string_view path) { return kPreviewBase + std::string(path); }),
      catalogue_(catalogue), pack_(pack), options_(options) {}

std::string TPreviewResolver::Resolve(std::string_view name) const {
  TBuilder builder(catalogue_, pack_, options_, UrlOf);
  builder.Template(name, 0);
  return builder.Take();
}

std::string PreviewMarker(std::string_view text) { return "\xAB" + std::string(text) + "\xBB"; }

std::string MimeTypeOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  std::string ext =
      dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
  for (char &c : ext)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  static const std::unordered_map<std::string, const char *> kTypes = {
      {"png", "image/png"},   {"gif", "image/gif"},    {"jpg", "image/jpeg"},
      {"jpeg", "image/jpeg"}, {"ico", "image/x-icon"}, {"svg", "image/svg+xml"},
      {"webp", "image/webp"}, {"bmp", "image/bmp"},    {"css", "text/css"},
      {"htm", "text/html"},   {"html", "text/html"},   {"js", "text/javascript"},
      {"woff", "font/woff"},  {"woff2", "font/woff2"}, {"ttf", "font/ttf"},
      {"txt", "text/plain"},
  };
  const auto it = kTypes.find(ext);
  return it == kTypes.end() ? "application/octet-stream" : it->second;
}
