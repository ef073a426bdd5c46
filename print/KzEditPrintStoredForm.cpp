// Reading the print job's stored settings, strictly: a misspelt property is an error rather
// than a setting that silently does nothing.
#include "print/KzEditPrintStoredForm.h"

#include "platform/StoredForm.h"
#include "print/KzEditPrint.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

using kzp::EStoredFormError;
using kzp::TStoredValue;

[[noreturn]] void Unknown(const std::string &what) {
  throw EStoredFormError(what + ": unbekannte Eigenschaft");
}

kzp::TColor ReadColor(const TStoredValue &v, const std::string &what) {
  const double n = v.AsNumber(what);
  if (n < 0 || n > 4294967295.0 || n != static_cast<double>(static_cast<std::uint32_t>(n)))
    throw EStoredFormError(what + ": keine gültige Farbe");
  return static_cast<kzp::TColor>(n);
}

kzp::TFont ReadFont(const TStoredValue &v, kzp::TFont font, const std::string &what) {
  for (const auto &[name, value] : v.Members(what)) {
    const std::string path = what + "." + name;
    if (name == "Name")
      font.Name = value.AsString(path);
    else if (name == "Height")
      font.Height = value.AsInt(path);
    else if (name == "Style")
      font.Style = static_cast<kzp::TFontStyles>(value.AsInt(path) & 15);
    else if (name == "Color")
      font.Color = ReadColor(value, path);
    else
      Unknown(path);
  }
  return font;
}

void ReadHeaderFooter(THeaderFooter &hf, const TStoredValue &v, const std::string &what) {
  for (const auto &[name, value] : v.Members(what)) {
    const std::string path = what + "." + name;
    if (name == "FrameTypes") {
      TFrameTypes types = 0;
      for (const TStoredValue &item : value.Items(path)) {
        const std::string &t = item.AsString(path);
        if (t == "ftLine")
          types |= ftLine;
        else if (t == "ftBox")
          types |= ftBox;
        else if (t == "ftShaded")
          types |= ftShaded;
        else
          throw EStoredFormError(path + ": unbekannte Rahmenart \"" + t + "\"");
      }
      hf.SetFrameTypes(types);
    } else if (name == "ShadedColor") {
      hf.SetShadedColor(ReadColor(value, path));
    } else if (name == "LineColor") {
      hf.SetLineColor(ReadColor(value, path));
    } else if (name == "DefaultFont") {
      hf.SetDefaultFont(ReadFont(value, hf.DefaultFont(), path));
    } else if (name == "RomanNumbers") {
      hf.SetRomanNumbers(value.AsBool(path));
    } else if (name == "MirrorPosition") {
      hf.SetMirrorPosition(value.AsBool(path));
    } else {
      Unknown(path);
    }
  }
}

void ReadMargins(TKzEditPrintMargins &m, const TStoredValue &v, const std::string &what) {
  // The unit comes first whatever its place in the file, so the lengths read in it.
  if (const TStoredValue *unit = v.Find("UnitSystem")) {
    const std::string &u = unit->AsString(what + ".UnitSystem");
    if (u == "usMM")
      m.SetUnitSystem(usMM);
    else if (u == "usCM")
      m.SetUnitSystem(usCM);
    else if (u == "usInch")
      m.SetUnitSystem(usInch);
    else if (u == "muThousandthsOfInches")
      m.SetUnitSystem(muThousandthsOfInches);
    else
      throw EStoredFormError(what + ".UnitSystem: unbekannte Einheit \"" + u + "\"");
  }
  using TSetter = void (TKzEditPrintMargins::*)(double);
  static const struct {
    const char *Name;
    TSetter Set;
  } lengths[] = {
      {"Left", &TKzEditPrintMargins::SetLeft},
      {"Right", &TKzEditPrintMargins::SetRight},
      {"Top", &TKzEditPrintMargins::SetTop},
      {"Bottom", &TKzEditPrintMargins::SetBottom},
      {"Header", &TKzEditPrintMargins::SetHeader},
      {"Footer", &TKzEditPrintMargins::SetFooter},
      {"LeftHFTextIndent", &TKzEditPrintMargins::SetLeftHFTextIndent},
      {"RightHFTextIndent", &TKzEditPrintMargins::SetRightHFTextIndent},
      {"HFInternalMargin", &TKzEditPrintMargins::SetHFInternalMargin},
      {"Gutter", &TKzEditPrintMargins::SetGutter},
  };
  for (const auto &[name, value] : v.Members(what)) {
    const std::string path = what + "." + name;
    if (name == "UnitSystem")
      continue;
    if (name == "MirrorMargins") {
      m.SetMirrorMargins(value.AsBool(path));
      continue;
    }
    bool known = false;
    for (const auto &length : lengths) {
      if (name == length.Name) {
        (m.*length.Set)(value.AsNumber(path));
        known = true;
        break;
      }
    }
    if (!known)
      Unknown(path);
  }
}

} // namespace

void LoadStoredPrintSettings(TKzEditPrint &job, const TStoredValue &component,
                             const TKzHighlighterLookup &highlighters) {
  const std::string what = "printJob";
  using TBoolSetter = void (TKzEditPrint::*)(bool);
  using TIntSetter = void (TKzEditPrint::*)(int);
  static const struct {
    const char *Name;
    TBoolSetter Set;
  } flags[] = {
      {"Wrap", &TKzEditPrint::SetWrap},
      {"Highlight", &TKzEditPrint::SetHighlight},
      {"SelectedOnly", &TKzEditPrint::SetSelectedOnly},
      {"Colors", &TKzEditPrint::SetColors},
      {"LineNumbers", &TKzEditPrint::SetLineNumbers},
      {"LineNumbersInMargin", &TKzEditPrint::SetLineNumbersInMargin},
  };
  static const struct {
    const char *Name;
    TIntSetter Set;
  } numbers[] = {
      {"Copies", &TKzEditPrint::SetCopies},
      {"LineOffset", &TKzEditPrint::SetLineOffset},
      {"PageOffset", &TKzEditPrint::SetPageOffset},
      {"TabWidth", &TKzEditPrint::SetTabWidth},
  };
  for (const auto &[name, value] : component.Members(what)) {
    const std::string path = what + "." + name;
    auto flag = std::find_if(std::begin(flags), std::end(flags),
                             [&](const auto &f) { return name == f.Name; });
    auto number = std::find_if(std::begin(numbers), std::end(numbers),
                               [&](const auto &f) { return name == f.Name; });
    if (flag != std::end(flags)) {
      (job.*flag->Set)(value.AsBool(path));
    } else if (number != std::end(numbers)) {
      (job.*number->Set)(value.AsInt(path));
    } else if (name == "Header") {
      ReadHeaderFooter(job.Header(), value, path);
    } else if (name == "Footer") {
      ReadHeaderFooter(job.Footer(), value, path);
    } else if (name == "Margins") {
      ReadMargins(job.Margins(), value, path);
    } else if (name == "Font") {
      job.SetFont(ReadFont(value, job.Font(), path));
    } else if (name == "Title") {
      job.SetTitle(value.AsString(path));
    } else if (name == "DocTitle") {
      job.SetDocTitle(value.AsString(path));
    } else if (name == "Color") {
      job.SetColor(ReadColor(value, path));
    } else if (name == "Highlighter") {
      const std::string &component = value.AsString(path);
      TKzCustomHighlighter *h = highlighters ? highlighters(component) : nullptr;
      if (!h)
        throw EStoredFormError(path + ": keine Komponente \"" + component + "\"");
      job.SetHighlighter(h);
    } else {
      Unknown(path);
    }
  }
}
