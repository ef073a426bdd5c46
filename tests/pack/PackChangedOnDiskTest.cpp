// A pack changed by someone else between a store's reading and its next change: the change
// reads it again (or asks first) and never writes over what it did not see; writers wait
// for each other's lock.
#include "pack/PackLock.h"
#include "pack/PackStore.h"

#include "PackTestUtil.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utime.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "T\t.\tA\t.\tM\t.\tW\t.\tO";

class ChangedOnDisk : public ::testing::Test {
protected:
  void SetUp() override {
    path = tmp / "p.kzp";
    WriteBytes(path, PackFileOf(Joined({kMeta, "main.htm\t.\talt", "img:a.gif\t.\tQQ"})));
    WriteBytes(tmp / "src", "B");
    store.LoadPack(path);
  }

  // Another program (a second store) changes the pack behind `store`'s back.
  void ChangeBehindItsBack() {
    TPackStore other;
    other.LoadPack(path);
    other.AddFileRecord("fremd.gif", tmp / "src");
  }

  TTempFolder tmp;
  TPackStore store;
  std::string path;
};

TEST_F(ChangedOnDisk, EveryChangeIsMadeToWhatTheFileHoldsNow) {
  const std::function<void()> changes[] = {
      [&] { store.SaveTemplate("main.htm", "neu"); },
      [&] { store.AddFileRecord("b.gif", tmp / "src"); },
      [&] { store.DeleteFileRecord("a.gif"); },
      [&] {
        store.WriteMetaData({"N", "A", "M", "W", "O"});
      },
  };
  for (const auto &change : changes) {
    ChangeBehindItsBack();
    ASSERT_TRUE(store.ChangedOnDisk());
    change();
    EXPECT_FALSE(store.ChangedOnDisk());
    EXPECT_EQ(ReadBytes(path), PackFileOf(Joined(store.Records)));
    // The other program's file is there, after the store's own earlier changes.
    EXPECT_EQ(std::count(store.Records.begin(), store.Records.end(), "img:fremd.gif\t.\tQg"),
              static_cast<long>(&change - changes) + 1);
  }
  EXPECT_EQ(store.Records, (List{"N\t.\tA\t.\tM\t.\tW\t.\tO", "main.htm\t.\tneu",
                                 "img:fremd.gif\t.\tQg", "img:fremd.gif\t.\tQg", "img:b.gif\t.\tQg",
                                 "img:fremd.gif\t.\tQg", "img:fremd.gif\t.\tQg"}));
}

TEST_F(ChangedOnDisk, TheHookChoosesBetweenReadingAgainAndWritingNothing) {
  int asked = 0, reloaded = 0;
  bool answer = false;
  TPackContents told;
  store.OnChangedOnDisk = [&] {
    ++asked;
    return answer;
  };
  store.OnReloaded = [&](const TPackContents &c) {
    ++reloaded;
    told = c;
  };
  store.CurrentTemplate = "main.htm";
  store.Modified = true;
  const List mine = store.Records;
  ChangeBehindItsBack();
  const std::string theirs = ReadBytes(path);

  EXPECT_THROW(store.SaveTemplate("main.htm", "neu"), EPackCancelled);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(reloaded, 0);
  EXPECT_EQ(store.Records, mine);
  EXPECT_EQ(ReadBytes(path), theirs);

  answer = true;
  EXPECT_EQ(store.SaveTemplate("main.htm", "neu"), 1u);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(reloaded, 1);
  EXPECT_EQ(told.Files, (List{"a.gif", "fremd.gif"}));
  EXPECT_EQ(store.Records,
            (List{kMeta, "main.htm\t.\tneu", "img:a.gif\t.\tQQ", "img:fremd.gif\t.\tQg"}));
  // Reading again keeps what the editor holds.
  EXPECT_EQ(store.CurrentTemplate, "main.htm");
  EXPECT_TRUE(store.Modified);

  // Its own writes are no change: nothing is asked.
  store.AddFileRecord("b.gif", tmp / "src");
  EXPECT_EQ(asked, 2);
}

TEST_F(ChangedOnDisk, IdentitySizeAndTimeCountButNotItsOwnWritesOrPermissions) {
  EXPECT_FALSE(store.ChangedOnDisk());
  store.SaveTemplate("main.htm", "eigen");
  EXPECT_FALSE(store.ChangedOnDisk());
  ::chmod(path.c_str(), 0600);
  EXPECT_FALSE(store.ChangedOnDisk());

  // The same bytes in a new file count: the store cannot know they are the same.
  const std::string same = ReadBytes(path);
  WriteBytes(tmp / "copy", same);
  ASSERT_EQ(::rename((tmp / "copy").c_str(), path.c_str()), 0);
  EXPECT_TRUE(store.ChangedOnDisk());
  store.Reload();
  EXPECT_FALSE(store.ChangedOnDisk());

  // Changed in place: only its time tells.
  utimbuf times{1000000000, 1000000000};
  ASSERT_EQ(::utime(path.c_str(), &times), 0);
  EXPECT_TRUE(store.ChangedOnDisk());
  store.Reload();

  // A pack that is gone, or a path set by hand, has nothing there to lose.
  ::rename(path.c_str(), (tmp / "weg").c_str());
  EXPECT_FALSE(store.ChangedOnDisk());
  store.SaveTemplate("main.htm", "wieder da");
  EXPECT_EQ(ReadBytes(path), PackFileOf(Joined(store.Records)));
  store.PackPath = tmp / "weg";
  EXPECT_FALSE(store.ChangedOnDisk());
}

TEST_F(ChangedOnDisk, AWriterWaitsForTheLockAndGivesUpInGerman) {
  const std::string before = ReadBytes(path);
  const List records = store.Records;
  TPackLock other;
  other.Acquire(path);
  ASSERT_TRUE(other.Held());
  store.LockTimeout = std::chrono::milliseconds(150);
  const auto start = std::chrono::steady_clock::now();
  try {
    store.AddFileRecord("b.gif", tmp / "src");
    ADD_FAILURE();
  } catch (const EPackError &e) {
    EXPECT_EQ(std::string(e.what()),
              "Das Pack wird gerade von einem anderen Programm geändert. Nach 150 "
              "Millisekunden Warten wurde abgebrochen; es wurde nichts geändert: " +
                  path);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_EQ(store.Records, records);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_THROW(store.WritePack(), EPackError);

  other.Release();
  store.AddFileRecord("b.gif", tmp / "src");
  EXPECT_EQ(store.Records.size(), records.size() + 1);
}

TEST_F(ChangedOnDisk, AWaitingWriterFollowsThePackWhenTheHolderReplacesIt) {
  TPackLock holder;
  holder.Acquire(path);
  std::thread writer([&] { store.AddFileRecord("b.gif", tmp / "src"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  // The holder writes its pack as every writer does: a new file renamed over the old one.
  WriteBytes(tmp / "neu", PackFileOf(Joined({kMeta, "neu.htm\t.\tx"})));
  ASSERT_EQ(::rename((tmp / "neu").c_str(), path.c_str()), 0);
  holder.Release();
  writer.join();
  EXPECT_EQ(store.Records, (List{kMeta, "neu.htm\t.\tx", "img:b.gif\t.\tQg"}));
  EXPECT_EQ(ReadBytes(path), PackFileOf(Joined(store.Records)));

  // A lock on a path with no file is no lock and no error.
  TPackLock none;
  none.Acquire(tmp / "fehlt.kzp");
  EXPECT_FALSE(none.Held());
}

} // namespace
