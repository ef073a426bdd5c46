// Change notification: attribute setters, the handler chain, Enabled and the loading bracket.
#include "highlight/KzEditHighlighter.h"

#include <gtest/gtest.h>

#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

namespace {

struct TRecorder {
  std::string Name;
  std::vector<std::string> *Log;
  std::vector<TKzPersistent *> Senders;
  void Handler(TKzPersistent *sender) {
    Senders.push_back(sender);
    if (Log)
      Log->push_back(Name);
  }
  void Other(TKzPersistent *sender) { Senders.push_back(sender); }
  TKzNotifyEvent Event() { return TKzNotifyEvent::Of<&TRecorder::Handler>(this); }
};

TEST(HighlighterNotify, SettersNotifyOnlyOnARealChangeWithTheAttributeAsSender) {
  TKzHTMLHighlighter h;
  TRecorder r{"r", nullptr, {}};
  h.AddChangeHandler(r.Event());

  h.KeyAttri->SetForeground(h.KeyAttri->Foreground());
  h.KeyAttri->SetBackground(clNone);
  h.KeyAttri->SetStyle(fsBold);
  EXPECT_TRUE(r.Senders.empty());

  h.KeyAttri->SetForeground(clBlue);
  h.KeyAttri->SetBackground(clYellow);
  h.KeyAttri->SetStyle(fsItalic | fsUnderline);
  EXPECT_EQ(r.Senders, (std::vector<TKzPersistent *>{h.KeyAttri, h.KeyAttri, h.KeyAttri}));
  EXPECT_EQ(h.ChangeHandlers().Sender(), h.KeyAttri);
  EXPECT_EQ(h.KeyAttri->Style(), fsItalic | fsUnderline);
  // The initial values stay those of construction; the stored flags follow the changes.
  EXPECT_EQ(h.KeyAttri->InitialForeground(), 0xFF0080u);
  EXPECT_EQ(h.KeyAttri->InitialStyle(), fsBold);
  EXPECT_TRUE(h.KeyAttri->ForegroundStored());
  EXPECT_TRUE(h.KeyAttri->BackgroundStored());
  EXPECT_TRUE(h.KeyAttri->StyleStored());
  h.KeyAttri->SetForeground(0xFF0080);
  EXPECT_FALSE(h.KeyAttri->ForegroundStored());
  h.KeyAttri->CaptureInitialValues();
  EXPECT_FALSE(h.KeyAttri->BackgroundStored());
  EXPECT_EQ(h.KeyAttri->InitialBackground(), clYellow);
}

TEST(HighlighterNotify, CopyColoursAndStyleNotifiesOnceAndOnlyOnChange) {
  TKzHTMLHighlighter h;
  TRecorder r{"r", nullptr, {}};
  h.AddChangeHandler(r.Event());
  TKzHighlighterAttributes source("Other");
  source.SetForeground(clGreen);
  source.SetBackground(clSilver);
  source.SetStyle(fsStrikeOut);
  h.TextAttri->CopyColoursAndStyle(source);
  EXPECT_EQ(r.Senders.size(), 1u);
  EXPECT_EQ(h.TextAttri->Foreground(), clGreen);
  EXPECT_EQ(h.TextAttri->Background(), clSilver);
  EXPECT_EQ(h.TextAttri->Style(), fsStrikeOut);
  EXPECT_EQ(h.TextAttri->Name(), "Text");
  h.TextAttri->CopyColoursAndStyle(source);
  EXPECT_EQ(r.Senders.size(), 1u);
  // An attribute without a change handler notifies nobody and does not fail.
  TKzHighlighterAttributes loose("Loose");
  loose.SetStyle(fsBold);
  loose.CopyColoursAndStyle(source);
  EXPECT_EQ(loose.Style(), fsStrikeOut);
}

TEST(HighlighterNotify, ChainCallsInRegistrationOrderAndRemovesEveryRegistration) {
  TKzCssHighlighter h;
  std::vector<std::string> log;
  TRecorder a{"a", &log, {}};
  TRecorder b{"b", &log, {}};
  h.AddChangeHandler(a.Event());
  h.AddChangeHandler(b.Event());
  h.AddChangeHandler(a.Event());
  h.AddChangeHandler(TKzNotifyEvent::Of<&TRecorder::Other>(&b));
  EXPECT_EQ(h.ChangeHandlers().Count(), 4);

  h.AttributesChanged(nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "a"}));
  EXPECT_EQ(b.Senders.size(), 2u); // Handler and Other

  // Removal needs the same method and the same receiver.
  h.RemoveChangeHandler(a.Event());
  EXPECT_EQ(h.ChangeHandlers().Count(), 2);
  log.clear();
  h.AttributesChanged(&h);
  EXPECT_EQ(log, (std::vector<std::string>{"b"}));
  EXPECT_EQ(b.Senders.back(), &h);
  h.RemoveChangeHandler(b.Event());
  EXPECT_EQ(h.ChangeHandlers().Count(), 1); // b's other method stays
  h.RemoveChangeHandler(a.Event());         // nothing left of a: no effect
  EXPECT_EQ(h.ChangeHandlers().Count(), 1);
}

TEST(HighlighterNotify, ThrowingHandlerEndsTheRoundAndReachesTheCaller) {
  TKzHTMLHighlighter h;
  std::vector<std::string> log;
  TRecorder a{"a", &log, {}};
  TRecorder c{"c", &log, {}};
  struct TThrower {
    void Handler(TKzPersistent *) { throw std::runtime_error("handler failed"); }
  } thrower;
  h.AddChangeHandler(a.Event());
  h.AddChangeHandler(TKzNotifyEvent::Of<&TThrower::Handler>(&thrower));
  h.AddChangeHandler(c.Event());
  EXPECT_THROW(h.SymbolAttri->SetStyle(0), std::runtime_error);
  EXPECT_EQ(log, (std::vector<std::string>{"a"}));
  // The value was stored before the notification.
  EXPECT_EQ(h.SymbolAttri->Style(), 0);
}

TEST(HighlighterNotify, EnabledNotifiesWithoutSenderOnlyOnChange) {
  TKzHTMLHighlighter h;
  TRecorder r{"r", nullptr, {}};
  h.AddChangeHandler(r.Event());
  EXPECT_TRUE(h.Enabled());
  h.SetEnabled(true);
  EXPECT_TRUE(r.Senders.empty());
  h.SetEnabled(false);
  EXPECT_EQ(r.Senders, std::vector<TKzPersistent *>{nullptr});
  h.SetEnabled(false);
  EXPECT_EQ(r.Senders.size(), 1u);
}

TEST(HighlighterNotify, LoadingFromTheStoredFormNotifiesOnceAtTheEnd) {
  TKzHTMLHighlighter h;
  TRecorder r{"r", nullptr, {}};
  h.AddChangeHandler(r.Event());
  h.BeginLoading();
  EXPECT_TRUE(h.IsLoading());
  h.SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
  h.KeyAttri->SetForeground(clNavy);
  h.SetEnabled(false);
  h.AttributesChanged(&h);
  EXPECT_TRUE(r.Senders.empty());
  h.EndLoading();
  EXPECT_FALSE(h.IsLoading());
  EXPECT_EQ(r.Senders, std::vector<TKzPersistent *>{nullptr});
  EXPECT_EQ(h.KeyAttri->Foreground(), clNavy);
  EXPECT_FALSE(h.Enabled());
  EXPECT_EQ(h.DefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
}

} // namespace
