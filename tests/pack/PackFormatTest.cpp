// Records of the pack format: escaping, the metadata record, template records.
#include "pack/PackStore.h"

#include "PackTestUtil.h"

#include <gtest/gtest.h>

namespace {

TEST(TemplateEscaping, ReplacesCrThenLfThenTabAndBack) {
  EXPECT_EQ(EscapeTemplateText("a\r\nb\tc"), "a<_R_><_N_>b<_T_>c");
  EXPECT_EQ(UnescapeTemplateText("a<_R_><_N_>b<_T_>c"), "a\r\nb\tc");
  EXPECT_EQ(EscapeTemplateText(""), "");
  // A marker typed by the user reads back as the character it stands for.
  EXPECT_EQ(UnescapeTemplateText("<_N_> and <_n_>"), "\n and <_n_>");
  // A replaced marker never joins its neighbours into a new one.
  EXPECT_EQ(UnescapeTemplateText("<_<_R_>N_>"), "<_\rN_>");
  EXPECT_EQ(UnescapeTemplateText("<_<_R_>_>"), "<_\r_>");
  EXPECT_EQ(UnescapeTemplateText("<<_T_>_N_>"), "<\t_N_>");
  EXPECT_EQ(UnescapeTemplateText("<_N<_T_>_>"), "<_N\t_>");
  EXPECT_EQ(UnescapeTemplateText("<_<_N_>T_>"), "<_\nT_>");
}

TEST(TemplateEscaping, ATypedMarkerComesBackAsItsCharacter) {
  EXPECT_EQ(TemplateTextOfRecord(BuildTemplateRecord("a.htm", "x<_N_>y")), "x\ny");
}

TEST(TemplateEscaping, EveryByteSurvivesARecord) {
  const std::string text = AllBytes();
  const std::string record = BuildTemplateRecord("alle.htm", text);
  EXPECT_EQ(record.find('\n'), std::string::npos);
  EXPECT_EQ(record.find('\r'), std::string::npos);
  EXPECT_EQ(record.find('\t', 11), std::string::npos);
  EXPECT_EQ(TemplateTextOfRecord(record), text);
}

TEST(TemplateRecord, EmptyTextHasNoThirdToken) {
  EXPECT_EQ(BuildTemplateRecord("leer.htm", ""), "leer.htm\t.\t");
  EXPECT_EQ(TemplateTextOfRecord("leer.htm\t.\t"), "");
  EXPECT_EQ(TemplateTextOfRecord("leer.htm"), "");
  EXPECT_EQ(TemplateTextOfRecord("a.htm\t.\tx<_T_>y\t.\tmehr"), "x\ty");
}

TEST(MetaRecord, BuildsAndParsesTheFiveFields) {
  const kzpMetaData meta{"Titel", "Jörg Müller", "j@m.de", "http://m.de", "ordner"};
  const std::string record = BuildMetaRecord(meta);
  EXPECT_EQ(record, "Titel\t.\tJörg Müller\t.\tj@m.de\t.\thttp://m.de\t.\tordner");
  const kzpMetaData back = ParseMetaRecord(record);
  EXPECT_EQ(back.Titel, "Titel");
  EXPECT_EQ(back.Author, "Jörg Müller");
  EXPECT_EQ(back.AuthorMail, "j@m.de");
  EXPECT_EQ(back.AuthorWeb, "http://m.de");
  EXPECT_EQ(back.Ordner, "ordner");
}

TEST(MetaRecord, AnEmptyTitelShiftsTheOthersAndMissingFieldsReadEmpty) {
  const kzpMetaData shifted = ParseMetaRecord(BuildMetaRecord({"", "A", "M", "W", "O"}));
  EXPECT_EQ(shifted.Titel, ".");
  EXPECT_EQ(shifted.Author, ".");
  EXPECT_EQ(shifted.AuthorMail, ".");
  EXPECT_EQ(shifted.AuthorWeb, ".");
  EXPECT_EQ(shifted.Ordner, "");

  const kzpMetaData few = ParseMetaRecord("Nur Titel\t.\tAutor");
  EXPECT_EQ(few.Titel, "Nur Titel");
  EXPECT_EQ(few.Author, "Autor");
  EXPECT_EQ(few.AuthorMail, "");
  EXPECT_EQ(few.Ordner, "");
}

TEST(RecordKey, IsTheFirstTokenAfterLeadingTabs) {
  EXPECT_EQ(RecordKey("main.htm\t.\ttext"), "main.htm");
  EXPECT_EQ(RecordKey("\t\tmain.htm\t.\t"), "main.htm");
  EXPECT_EQ(RecordKey("img:sub/a.gif\t.\tR0lG"), "img:sub/a.gif");
  EXPECT_EQ(RecordKey(""), "");
  EXPECT_TRUE(IsFileRecord("img:a"));
  EXPECT_FALSE(IsFileRecord("img"));
  EXPECT_FALSE(IsFileRecord("IMG:a"));
  EXPECT_FALSE(IsFileRecord("\timg:a"));
}

} // namespace
