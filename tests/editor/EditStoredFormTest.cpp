// The main window's editor as its stored form sets it up.
#include "EditFixture.h"

#include "editor/KzEditGutter.h"
#include "platform/StoredForm.h"

TEST_F(EditFixture, MainWindowEditorTakesFontsAndKeystrokesFromTheStoredForm) {
  kzp::TStoredValue form =
      kzp::LoadStoredForm(std::string(KZ_PROJECT_DIR) + "/resources/frmMain.json");
  LoadStoredEditorSettings(*Ed, form.Get("editor"));
  EXPECT_EQ(Ed->Font().Name, "Courier New");
  EXPECT_EQ(Ed->Font().Height, -13);
  EXPECT_EQ(Ed->Gutter().Font().Name, "Terminal");
  EXPECT_EQ(Ed->Gutter().Font().Height, -11);
  std::vector<TKzEditorCommand> seen;
  Ed->OnCommandProcessed = [&](TCustomKzEdit &, TKzEditorCommand &c, char &, void *) {
    seen.push_back(c);
  };
  std::uint16_t f1 = VK_F1;
  EXPECT_FALSE(Ed->KeyDown(f1, 0)); // not consumed: the window's own F1 handling gets it
  std::uint16_t ctrlF1 = VK_F1;
  EXPECT_TRUE(Ed->KeyDown(ctrlF1, ssCtrl));
  std::uint16_t ctrlAltC = 'C';
  EXPECT_FALSE(Ed->KeyDown(ctrlAltC, ssCtrl | ssAlt));
  EXPECT_EQ(seen, (std::vector<TKzEditorCommand>{ecContextHelp}));
  EXPECT_EQ(Ed->Keystrokes().Count(), 82);
}

TEST_F(EditFixture, StoredFontMembersAreOptional) {
  kzp::TStoredValue form = kzp::ParseStoredForm(R"({ "Font": { "Height": -16 } })");
  LoadStoredEditorSettings(*Ed, form);
  EXPECT_EQ(Ed->Font().Name, "Courier New");
  EXPECT_EQ(Ed->Font().Height, -16);
  EXPECT_EQ(Ed->Keystrokes().Count(), 83);
  kzp::TStoredValue bad = kzp::ParseStoredForm(R"({ "Font": { "Height": "big" } })");
  EXPECT_THROW(LoadStoredEditorSettings(*Ed, bad), kzp::EStoredFormError);
}
