// Long random runs of the store's operations against a plain list kept beside it: after every
// step the store's records, the file on disk and a fresh read of it must all agree, whichever
// way (whole write or append) the step went to disk.
#include "pack/PackStore.h"

#include "PackTestUtil.h"
#include "pack/SplitFns.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using List = std::vector<std::string>;

// Bytes of any value, TAB, LF, CR and the escape texts made likely.
std::string RandomText(std::mt19937 &rng, std::size_t maxLength) {
  static const std::string pieces[] = {"\t",    "\n",    "\r",   "\r\n", "<_R_>",
                                       "<_N_>", "<_T_>", "img:", "%%"};
  std::string text;
  const std::size_t length = rng() % (maxLength + 1);
  while (text.size() < length) {
    if (rng() % 4 == 0)
      text += pieces[rng() % std::size(pieces)];
    else
      text += static_cast<char>(rng() % 256);
  }
  return text;
}

// What the Part's operations do to a record list, written out plainly.
// A literal "<_R_>" in a text comes back as CR, and so on.
std::string Unescaped(std::string text) {
  for (const auto &[from, to] :
       {std::pair<std::string, char>{"<_R_>", '\r'}, {"<_N_>", '\n'}, {"<_T_>", '\t'}}) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + 1))
      text.replace(at, from.size(), 1, to);
  }
  return text;
}

struct TModel {
  List Records;

  bool HasTemplate(const std::string &name) const {
    for (std::size_t i = 1; i < Records.size(); ++i)
      if (!Records[i].empty() && Records[i].compare(0, 4, "img:") != 0 && Key(Records[i]) == name)
        return true;
    return false;
  }

  static std::string Key(const std::string &r) {
    std::size_t p = 1;
    return NextToken(r, '\t', p);
  }

  void Add(const std::string &name, const std::string &bytes) {
    Records.push_back("img:" + name + "\t.\t" + ReferenceEncode(bytes));
  }
  void Delete(const std::string &name) {
    List kept;
    for (std::size_t i = 0; i < Records.size(); ++i)
      if (i == 0 || Records[i].empty() || Key(Records[i]) != "img:" + name)
        kept.push_back(Records[i]);
    Records = kept;
  }
  void Save(const std::string &name, const std::string &text) {
    std::string escaped;
    for (const char c : text)
      escaped += c == '\r'   ? "<_R_>"
                 : c == '\n' ? "<_N_>"
                 : c == '\t' ? "<_T_>"
                             : std::string(1, c);
    for (std::size_t i = 1; i < Records.size(); ++i)
      if (!Records[i].empty() && Records[i].compare(0, 4, "img:") != 0 && Key(Records[i]) == name)
        Records[i] = name + "\t.\t" + escaped;
  }
};

TEST(PackRandomOps, StoreFileAndFreshReadAgreeAfterEveryStep) {
  const List names = {"a.gif", "b/c.png", "main.htm", "x y.css", "na", "img:z"};
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TTempFolder tmp;
    const std::string path = tmp / "p.kzp";
    const std::string source = tmp / "quelle.bin";

    // A start pack with templates and files, some of one name.
    TModel model;
    model.Records.push_back("T\t.\tA\t.\tM\t.\tW\t.\tO");
    for (int i = 0, n = static_cast<int>(rng() % 6); i < n; ++i) {
      const std::string &name = names[rng() % names.size()];
      if (rng() % 3 == 0)
        model.Records.push_back("img:" + name + "\t.\t" + ReferenceEncode(RandomText(rng, 40)));
      else
        model.Records.push_back(name + "\t.\t" + ReferenceEncode(RandomText(rng, 40)));
    }
    WriteBytes(path, PackFileOf(Joined(model.Records)));
    TPackStore store;
    store.LoadPack(path);
    ASSERT_EQ(store.Records, model.Records);

    for (int step = 0; step < 60; ++step) {
      const std::string &name = names[rng() % names.size()];
      const unsigned op = rng() % 10;
      if (op < 5) { // adds come in runs, which is where the append path is taken
        const std::string bytes = RandomText(rng, op == 0 ? 9000 : 50);
        WriteBytes(source, bytes);
        store.AddFileRecord(name, source);
        model.Add(name, bytes);
      } else if (op < 7) {
        store.DeleteFileRecord(name);
        model.Delete(name);
      } else if (op < 9) {
        const std::string text = RandomText(rng, 300);
        store.SaveTemplate(name, text);
        model.Save(name, text);
        EXPECT_EQ(store.GetTemplate(name),
                  model.HasTemplate(name) ? Unescaped(text) : std::string());
      } else {
        const kzpMetaData meta{"T" + std::to_string(step), "A", "M", "W", "O"};
        store.WriteMetaData(meta);
        model.Records[0] = BuildMetaRecord(meta);
      }
      ASSERT_EQ(store.Records, model.Records) << "step " << step << " op " << op;
      ASSERT_EQ(ReadBytes(path), PackFileOf(Joined(model.Records)))
          << "step " << step << " op " << op;
      // Reading the file back collapses empty records as the splitter does.
      List expected;
      SplitString(Joined(model.Records), '\n', expected);
      TPackStore fresh;
      fresh.LoadPack(path);
      ASSERT_EQ(fresh.Records, expected) << "step " << step;
    }
    // Nothing but the pack and the source stays beside it once the store lets go.
    store.LoadPack(path);
    EXPECT_EQ(FolderEntries(tmp.Path()), (List{"p.kzp", "quelle.bin"}));
  }
}

} // namespace
