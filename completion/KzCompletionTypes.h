// The kinds of completion list, its option set and the events it raises.
#pragma once

#include "editor/KzEditTypes.h"
#include "platform/Canvas.h"

#include <cstdint>
#include <functional>
#include <string>

class TKzBaseCompletionProposal;
class TKzBaseCompletionProposalForm;

// A selectable list, a passive hint list or a parameter hint. The studio uses the first only.
enum KzCompletionType : std::uint8_t { ctCode = 0, ctHint = 1, ctParams = 2 };

// Options; the values are bit numbers.
enum TKzCompletionOption : std::uint8_t {
  scoAnsiStrings = 0, // match by the code page's rules rather than character codes
  scoCaseSensitive = 1,
  scoLimitToMatchedText = 2, // list only the entries that match the typed text
  scoTitleIsCentered = 3,
  scoUseInsertList = 4,          // match and insert the insert-list text of an entry
  scoUsePrettyText = 5,          // entries carry formatting commands
  scoUseBuiltInTimer = 6,        // trigger characters open the list after a delay
  scoEndCharCompletion = 7,      // an end-of-token character completes
  scoConsiderWordBreakChars = 8, // the highlighter's word delimiters end a token too
  scoCompleteWithTab = 9,
  scoCompleteWithEnter = 10,
};
using TKzCompletionOptions = TKzSet<TKzCompletionOption>;

inline constexpr TKzCompletionOptions KzCompletionDefaultOptions{
    scoLimitToMatchedText, scoEndCharCompletion, scoCompleteWithTab, scoCompleteWithEnter};

// The highlight moved to the entry with item-list index `index`.
using TCompletionChange = std::function<void(TKzBaseCompletionProposal &, int index)>;
// Asked before the list is shown; may change the input and the point, and refuse.
using TCompletionExecute =
    std::function<void(KzCompletionType, TKzBaseCompletionProposal &, std::string &currentInput,
                       int &x, int &y, bool &canExecute)>;
using TCompletionFormNotify = std::function<void(TKzBaseCompletionProposalForm &)>;
// Sizing of a parameter hint: may change the measured width of item `index`.
using TCompletionMeasureItem =
    std::function<void(TKzBaseCompletionProposal &, int index, kzp::TCanvas &, int &itemWidth)>;
// Lets the host draw a row itself; setting customDraw skips the default drawing.
using TCompletionPaintItem =
    std::function<void(TKzBaseCompletionProposalForm &, int index, kzp::TCanvas &,
                       const kzp::TRect &itemRect, bool &customDraw)>;
