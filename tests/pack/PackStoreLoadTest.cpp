// Opening a pack: line joining, decoding, records, the returned lists, and failures that
// must leave the open pack as it was.
#include "pack/PackStore.h"

#include "PackTestUtil.h"
#include "pack/SplitFns.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "Titel\t.\tAutor\t.\tmail@x.de\t.\thttp://x.de\t.\tordner";

class PackLoad : public ::testing::Test {
protected:
  std::string Pack(const std::string &name, const std::string &packText) {
    const std::string path = tmp / name;
    WriteBytes(path, PackFileOf(packText));
    return path;
  }

  // Opens a first pack so failures can be checked to keep it.
  void OpenFirst() {
    first = Pack("first.kzp", kMeta + "\nmain.htm\t.\thallo\n");
    store.LoadPack(first);
    store.CurrentTemplate = "main.htm";
    store.Modified = true;
  }

  void ExpectFirstStillOpen() {
    EXPECT_EQ(store.PackPath, first);
    EXPECT_EQ(store.Records, (List{kMeta, "main.htm\t.\thallo"}));
    EXPECT_EQ(store.CurrentTemplate, "main.htm");
    EXPECT_TRUE(store.Modified);
  }

  TTempFolder tmp;
  TPackStore store;
  std::string first;
};

TEST_F(PackLoad, ReturnsMetadataAndTheNamesInRecordOrder) {
  const std::string path =
      Pack("a.kzp",
           kMeta + "\nmain.htm\t.\tx\nimg:sub/a.gif\t.\tR0lG\nstyle.css\t.\t\nimg:b.png\t.\t\n");
  store.CurrentTemplate = "alt";
  store.Modified = true;
  const TPackContents c = store.LoadPack(path);
  EXPECT_EQ(c.Meta.Titel, "Titel");
  EXPECT_EQ(c.Meta.Author, "Autor");
  EXPECT_EQ(c.Meta.AuthorMail, "mail@x.de");
  EXPECT_EQ(c.Meta.AuthorWeb, "http://x.de");
  EXPECT_EQ(c.Meta.Ordner, "ordner");
  EXPECT_EQ(c.Templates, (List{"main.htm", "style.css"}));
  EXPECT_EQ(c.Files, (List{"sub/a.gif", "b.png"}));
  EXPECT_EQ(store.Records.size(), 5u);
  EXPECT_EQ(store.PackPath, path);
  EXPECT_EQ(store.CurrentTemplate, "na");
  EXPECT_FALSE(store.Modified);
}

TEST_F(PackLoad, LineBreaksAndFillCharactersReadLikeTheSingleLine) {
  const std::string text = kMeta + "\nmain.htm\t.\t" + std::string(100, 'x') + "\n";
  const std::string b64 = EncodeBase64ForTest(text);
  std::string crlf, lf;
  for (std::size_t i = 0; i < b64.size(); i += 76) {
    crlf += b64.substr(i, 76) + "\r\n";
    lf += b64.substr(i, 76) + "\n";
  }
  for (const std::string &content : {crlf, lf, b64, b64 + "==\r\n", b64 + "  \r\n\r\n"}) {
    WriteBytes(tmp / "w.kzp", content);
    TPackStore s;
    s.LoadPack(tmp / "w.kzp");
    EXPECT_EQ(s.Records, (List{kMeta, "main.htm\t.\t" + std::string(100, 'x')}));
  }
}

TEST_F(PackLoad, EmptyRecordsVanishExceptOneAtTheEnd) {
  store.LoadPack(Pack("e.kzp", kMeta + "\n\n\nmain.htm\t.\tx\n\n\n"));
  EXPECT_EQ(store.Records, (List{kMeta, "main.htm\t.\tx", ""}));
  const TPackContents c = store.LoadPack(Pack("f.kzp", kMeta + "\nmain.htm\t.\tx\n\n"));
  EXPECT_EQ(c.Templates, (List{"main.htm"}));
}

TEST_F(PackLoad, RecordsAreCutExactlyAsTheSplitterCutsThePackText) {
  // The reader cuts records while decoding in slices; runs of LF across a slice border and
  // at every place must give what SplitString gives.
  std::vector<std::string> texts = {"\n",    "\n\n", "a", "a\n", "a\n\n", "\n\na\n\nb\n\n\n",
                                    "ab\ncd"};
  std::string big;
  for (int i = 0; i < 3000; ++i)
    big += std::string(static_cast<std::size_t>(i % 97), 'r') +
           std::string(static_cast<std::size_t>(i % 4), '\n');
  texts.push_back(big);
  texts.push_back(std::string(200000, '\n'));
  texts.push_back(std::string(49151, 'x') + "\n\n" + std::string(10, 'y') + "\n");
  texts.push_back(std::string(49152, 'x') + "\n\n");
  int n = 0;
  for (const std::string &text : texts) {
    const std::string path = Pack("s" + std::to_string(n) + ".kzp", text);
    List expected;
    SplitString(text, '\n', expected);
    TPackStore s;
    s.LoadPack(path);
    EXPECT_EQ(s.Records, expected) << "text " << n;
    ++n;
  }
}

TEST_F(PackLoad, ARecordZeroWithFewFieldsReadsTheMissingOnesEmpty) {
  const TPackContents c = store.LoadPack(Pack("m.kzp", "Nur\t.\tAutor\nmain.htm\t.\tx\n"));
  EXPECT_EQ(c.Meta.Titel, "Nur");
  EXPECT_EQ(c.Meta.Author, "Autor");
  EXPECT_EQ(c.Meta.AuthorMail, "");
  EXPECT_EQ(c.Meta.AuthorWeb, "");
  EXPECT_EQ(c.Meta.Ordner, "");
  EXPECT_EQ(c.Templates, (List{"main.htm"}));
}

TEST_F(PackLoad, AFileThatIsNoPackFailsAndKeepsThePreviousPack) {
  OpenFirst();
  WriteBytes(tmp / "empty.kzp", "");
  WriteBytes(tmp / "nothing.kzp", "====\r\n");
  for (const char *name : {"empty.kzp", "nothing.kzp"}) {
    try {
      store.LoadPack(tmp / name);
      ADD_FAILURE() << name << " opened";
    } catch (const EPackFormatError &e) {
      EXPECT_STREQ(e.what(), "Listenindex überschreitet das Maximum (0)");
    }
    ExpectFirstStillOpen();
  }
}

TEST_F(PackLoad, FileErrorsCarryTheGermanMessageAndThePath) {
  OpenFirst();
  try {
    store.LoadPack(tmp / "fehlt.kzp");
    ADD_FAILURE();
  } catch (const EPackIOError &e) {
    EXPECT_EQ(std::string(e.what()), "Datei nicht gefunden: " + (tmp / "fehlt.kzp"));
    EXPECT_EQ(e.Code(), ENOENT);
  }
  ExpectFirstStillOpen();
  try {
    store.LoadPack(tmp.Path());
    ADD_FAILURE();
  } catch (const EPackIOError &e) {
    EXPECT_EQ(std::string(e.what()), "Ist ein Ordner, keine Datei (E/A-Fehler 21): " + tmp.Path());
  }
  ExpectFirstStillOpen();
  EXPECT_THROW(store.LoadPack("/dev/zero"), EPackIOError);
  ExpectFirstStillOpen();
}

TEST(IOErrorMessage, NamesTheKindOfFailure) {
  EXPECT_EQ(IOErrorMessage(ENOENT, "/a b/ä.kzp"), "Datei nicht gefunden: /a b/ä.kzp");
  EXPECT_EQ(IOErrorMessage(EACCES, "p"), "Zugriff verweigert: p");
  EXPECT_EQ(IOErrorMessage(EPERM, "p"), "Zugriff verweigert: p");
  EXPECT_EQ(IOErrorMessage(EIO, ""), "E/A-Fehler 5");
  EXPECT_EQ(IOErrorMessage(EINVAL, "p"), "E/A-Fehler 22: p");
  // The common failures of writing say what happened, and still give the number.
  EXPECT_EQ(IOErrorMessage(ENOSPC, "p"),
            "Kein Speicherplatz mehr auf dem Datenträger (E/A-Fehler 28): p");
  EXPECT_EQ(IOErrorMessage(EROFS, "p"), "Das Dateisystem ist schreibgeschützt (E/A-Fehler 30): p");
  EXPECT_EQ(IOErrorMessage(EDQUOT, "p"),
            "Das Speicherkontingent ist ausgeschöpft (E/A-Fehler 122): p");
  EXPECT_EQ(IOErrorMessage(ENAMETOOLONG, "p"), "Der Dateiname ist zu lang (E/A-Fehler 36): p");
  EXPECT_EQ(IOErrorMessage(ENOTDIR, "p"), "Ein Teil des Pfades ist kein Ordner (E/A-Fehler 20): p");
  EXPECT_EQ(IOErrorMessage(EISDIR, "p"), "Ist ein Ordner, keine Datei (E/A-Fehler 21): p");
  EXPECT_EQ(IOErrorMessage(ELOOP, "p"), "Zu viele symbolische Verknüpfungen (E/A-Fehler 40): p");
  EXPECT_EQ(IOErrorMessage(ENODEV, "p"), "Kein solches Gerät (E/A-Fehler 19): p");
  EXPECT_EQ(IOErrorMessage(ENXIO, "p"), "Kein solches Gerät (E/A-Fehler 6): p");
}

TEST_F(PackLoad, DataThatEndsInTheMiddleIsReportedAsDamagedWithItsByte) {
  OpenFirst();
  const std::string good = PackFileOf(kMeta + "\nmain.htm\t.\tx\n");
  // A stray character in the middle would silently cut off everything after it.
  std::string damaged = good;
  damaged[10] = '*';
  WriteBytes(tmp / "d.kzp", damaged);
  try {
    store.LoadPack(tmp / "d.kzp");
    ADD_FAILURE();
  } catch (const EPackFormatError &e) {
    EXPECT_EQ(std::string(e.what()),
              "Die Datei ist beschädigt: ungültiges Zeichen an Byte-Position 10 (gezählt ab 0): " +
                  (tmp / "d.kzp"));
  }
  ExpectFirstStillOpen();

  // With line breaks before it, the position still counts the file's own bytes.
  std::string wrapped =
      good.substr(0, 8) + "\r\n" + good.substr(8, 8) + "\n" + "x" + good.substr(16);
  wrapped[8 + 2 + 8 + 1] = '!';
  WriteBytes(tmp / "w.kzp", wrapped);
  try {
    store.LoadPack(tmp / "w.kzp");
    ADD_FAILURE();
  } catch (const EPackFormatError &e) {
    EXPECT_NE(std::string(e.what()).find("Byte-Position 19 "), std::string::npos) << e.what();
  }
  ExpectFirstStillOpen();
}

TEST_F(PackLoad, RandomBytesAreReportedAsDamaged) {
  OpenFirst();
  std::string junk;
  unsigned v = 12345;
  for (int i = 0; i < 5000; ++i) {
    v = v * 1103515245u + 12345u;
    junk += static_cast<char>(v >> 16);
  }
  junk[0] = 'Q'; // starts like data, so only the damage check can refuse it
  junk[1] = '\x01';
  WriteBytes(tmp / "r.kzp", junk);
  EXPECT_THROW(store.LoadPack(tmp / "r.kzp"), EPackFormatError);
  ExpectFirstStillOpen();
}

TEST_F(PackLoad, AnythingButFillAfterTheStopIsDamageButFillIsNot) {
  const std::string b64 = EncodeBase64ForTest(kMeta + "\n");
  WriteBytes(tmp / "ok.kzp", b64 + "= \t\r=\r\n\r\n");
  EXPECT_NO_THROW(store.LoadPack(tmp / "ok.kzp"));
  WriteBytes(tmp / "lone-cr.kzp", b64.substr(0, 8) + "\r" + b64.substr(8) + "\r\n");
  EXPECT_THROW(store.LoadPack(tmp / "lone-cr.kzp"), EPackFormatError);
  WriteBytes(tmp / "after-fill.kzp", b64 + "==QUJD\r\n");
  EXPECT_THROW(store.LoadPack(tmp / "after-fill.kzp"), EPackFormatError);
}

} // namespace
