// The print job's settings as the main window's stored form holds them.
#include "PrintFixture.h"

#include "highlight/KzHighlighterHtml.h"
#include "platform/StoredForm.h"
#include "print/KzEditPrintStoredForm.h"

namespace {

kzp::TStoredValue Parse(const std::string &json) { return kzp::ParseStoredForm(json); }

} // namespace

TEST(PrintStoredForm, TheMainWindowsFormGivesTheJobItsConfiguration) {
  const kzp::TStoredValue form =
      kzp::LoadStoredForm(std::string(KZ_PROJECT_DIR) + "/resources/frmMain.json");
  const kzp::TStoredValue *settings = form.Find("printJob");
  ASSERT_NE(settings, nullptr);
  TKzHTMLHighlighter html;
  TKzEditPrint job;
  job.SetCopies(5);
  job.SetTabWidth(3);
  job.Margins().SetLeft(1);
  job.Header().SetFrameTypes(0);
  LoadStoredPrintSettings(job, *settings, [&](const std::string &name) -> TKzCustomHighlighter * {
    return name == "htmlHighlight" ? &html : nullptr;
  });
  EXPECT_EQ(job.Copies(), 1);
  EXPECT_EQ(job.TabWidth(), 8);
  EXPECT_EQ(job.Highlighter(), &html);
  EXPECT_EQ(job.Color(), kzp::clWhite);
  EXPECT_EQ(job.Font().Name, "MS Sans Serif");
  EXPECT_DOUBLE_EQ(job.Margins().Left(), 25);
  EXPECT_DOUBLE_EQ(job.Margins().HFInternalMargin(), 0.5);
  EXPECT_EQ(job.Header().FrameTypes(), ftLine);
  for (THeaderFooter *hf :
       {static_cast<THeaderFooter *>(&job.Header()), static_cast<THeaderFooter *>(&job.Footer())})
    EXPECT_EQ(hf->DefaultFont(), (kzp::TFont{"Arial", -13, 0, kzp::clBlack}));
  EXPECT_TRUE(job.Wrap());
  EXPECT_TRUE(job.Highlight());
  EXPECT_FALSE(job.Colors());
}

TEST(PrintStoredForm, UnitsApplyToTheLengthsWhereverTheyStandAndMistakesAreRefused) {
  TKzEditPrint job;
  LoadStoredPrintSettings(
      job, Parse(R"({"Margins": {"Left": 1, "UnitSystem": "usInch", "MirrorMargins": true},
                                          "Footer": {"FrameTypes": ["ftBox", "ftShaded"], "ShadedColor": 255},
                                          "LineNumbers": true, "PageOffset": -1})"),
      {});
  job.Margins().SetUnitSystem(usMM);
  EXPECT_DOUBLE_EQ(job.Margins().Left(), 25.4);
  EXPECT_TRUE(job.Margins().MirrorMargins());
  EXPECT_EQ(job.Footer().FrameTypes(), ftBox | ftShaded);
  EXPECT_EQ(job.Footer().ShadedColor(), kzp::clRed);
  EXPECT_TRUE(job.LineNumbers());
  EXPECT_EQ(job.PageOffset(), -1);

  const char *const wrong[] = {
      R"({"Copys": 2})",
      R"({"Margins": {"Links": 20}})",
      R"({"Margins": {"UnitSystem": "usFeet"}})",
      R"({"Header": {"FrameTypes": ["ftDouble"]}})",
      R"({"Highlighter": "cssHighlight"})",
      R"({"Color": -1})",
  };
  for (const char *json : wrong) {
    SCOPED_TRACE(json);
    EXPECT_THROW(LoadStoredPrintSettings(job, Parse(json), {}), kzp::EStoredFormError);
  }
}
