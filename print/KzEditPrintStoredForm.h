// The print job's settings from a window's stored form ("printJob" in resources/frmMain.json).
//
//   "printJob": { "Copies": 1, "Font": { "Name": "MS Sans Serif", "Height": -11 },
//                 "Header": { "FrameTypes": ["ftLine"], "DefaultFont": { "Name": "Arial" } },
//                 "Margins": { "UnitSystem": "usMM", "Left": 25 }, "Highlighter": "htmlHighlight",
//                 "TabWidth": 8, "Color": 16777215 }
//
// Every member is optional and names a published property of the job; a name the job does not
// have, or a value of the wrong kind, makes reading fail with EStoredFormError. Fonts are
// { "Name", "Height", "Style" (bits), "Color" }; colours are numbers (0x00BBGGRR, system colours
// 0xFF0000nn); "UnitSystem" is "usMM", "usCM", "usInch" or "muThousandthsOfInches";
// "FrameTypes" a list of "ftLine", "ftBox", "ftShaded"; "Highlighter" names a component of the
// window.
#pragma once

#include <functional>
#include <string>

class TKzCustomHighlighter;
class TKzEditPrint;
namespace kzp {
class TStoredValue;
}

// Finds the window's component of a name; null when there is none (which fails the reading).
using TKzHighlighterLookup = std::function<TKzCustomHighlighter *(const std::string &name)>;

void LoadStoredPrintSettings(TKzEditPrint &job, const kzp::TStoredValue &component,
                             const TKzHighlighterLookup &highlighters);
