// Pairing the IF and LOOP blocks of a template.
#include "template/TemplateBlocks.h"

namespace {
constexpr std::size_t npos = static_cast<std::size_t>(-1);
}

void TTplBlockMatcher::Issue(TTplBlockIssue issue, const TTplToken &at, const TTplToken *opening) {
  if (OnIssue)
    OnIssue(issue, at, opening);
}

void TTplBlockMatcher::Close(std::size_t depth, std::size_t end) {
  while (open_.size() > depth) {
    const TOpen block = open_.back();
    open_.pop_back();
    if (OnBlock)
      OnBlock(block.Index, block.Else, end);
  }
}

void TTplBlockMatcher::Feed(const TTplToken &token, std::size_t index) {
  switch (token.Kind) {
  case TTplKind::If:
  case TTplKind::Loop: open_.push_back({token, index, npos}); return;
  case TTplKind::Else:
    if (open_.empty() || open_.back().Token.Kind != TTplKind::If)
      Issue(TTplBlockIssue::StrayElse, token, nullptr);
    else if (open_.back().Else != npos)
      Issue(TTplBlockIssue::SecondElse, token, &open_.back().Token);
    else
      open_.back().Else = index;
    return;
  case TTplKind::EndIf:
  case TTplKind::EndLoop: {
    const TTplKind opener = token.Kind == TTplKind::EndIf ? TTplKind::If : TTplKind::Loop;
    std::size_t depth = open_.size();
    while (depth > 0 && open_[depth - 1].Token.Kind != opener)
      --depth;
    if (depth == 0) {
      Issue(opener == TTplKind::If ? TTplBlockIssue::StrayEndIf : TTplBlockIssue::StrayEndLoop,
            token, nullptr);
      return;
    }
    // The blocks opened inside the one this closes never got their own end.
    for (std::size_t i = open_.size(); i > depth; --i) {
      const TOpen &inner = open_[i - 1];
      Issue(inner.Token.Kind == TTplKind::If ? TTplBlockIssue::UnclosedIf
                                             : TTplBlockIssue::UnclosedLoop,
            inner.Token, &inner.Token);
    }
    Close(depth - 1, index);
    return;
  }
  default: return;
  }
}

void TTplBlockMatcher::Finish(std::size_t count) {
  for (std::size_t i = open_.size(); i > 0; --i) {
    const TOpen &block = open_[i - 1];
    Issue(block.Token.Kind == TTplKind::If ? TTplBlockIssue::UnclosedIf
                                           : TTplBlockIssue::UnclosedLoop,
          block.Token, &block.Token);
  }
  Close(0, count);
}
