// Opening a large pack in the main window: reading and decoding it in the store, then
// filling the project tree, as one user action that must not freeze the window.
#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "workbench/AppWindows.h"
#include "workbench/Resources.h"
#include "workbench/untMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
class TSilentDialogs : public TDialogs {
public:
  TModalResult MessageDlg(TDialogOwner, const std::string &, const std::string &, TMsgDlgType,
                          TMsgDlgButtons) override {
    return TModalResult::mrOk;
  }
  std::string OpenFileName(TDialogOwner, const std::string &, const std::string &) override {
    return {};
  }
  std::string SaveFileName(TDialogOwner, const std::string &, const std::string &) override {
    return {};
  }
  std::string BrowseForFolder(const std::string &, const std::string &) override { return {}; }
};

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_workbench";
  static char *argv[] = {name, nullptr};
  static QApplication *app = nullptr;
  if (!app) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(argc, argv);
    InitWorkbenchResources();
    static TSilentDialogs dialogs;
    SetDialogs(&dialogs);
  }
}

// A pack file of about `megabytes` MB: `templates` templates of HTML text and `files` binary
// files sharing the rest.
std::string MakePack(const fs::path &dir, int megabytes, int templates, int files) {
  fs::create_directories(dir);
  const std::string path =
      (dir / ("pack-" + std::to_string(megabytes) + "-" + std::to_string(templates) + ".kzp"))
          .string();
  TPackStore store;
  store.PackPath = path;
  store.Records.push_back(
      BuildMetaRecord({"Gross", "Bench", "b@example.com", "www.example.com", "gross"}));
  std::string html;
  for (int i = 0; i < 40; ++i)
    html +=
        "<tr><td class=\"cell\">%%LANG" + std::to_string(i) + "%%</td><td>%%VALUE%%</td></tr>\r\n";
  for (int i = 0; i < templates; ++i)
    store.Records.push_back(BuildTemplateRecord("page" + std::to_string(i) + ".htm", html));
  // A file's bytes are base64 inside their record, and the whole pack is base64 again: 3
  // bytes become 4 twice, so the binary part is 9/16 of the target size.
  const std::size_t fileBytes =
      static_cast<std::size_t>(megabytes) * 1024 * 1024 / 16 * 9 / static_cast<std::size_t>(files);
  std::string bytes(fileBytes, '\0');
  std::mt19937 rng(7);
  for (char &c : bytes)
    c = static_cast<char>(rng());
  const fs::path source = dir / "source.bin";
  {
    std::ofstream out(source, std::ios::binary);
    out << bytes;
  }
  store.WritePack();
  // One write per added file would rewrite the pack each time; build the records directly.
  for (int i = 0; i < files; ++i) {
    TPackStore one;
    one.PackPath = (dir / "one.kzp").string();
    one.Records = {"m"};
    one.AddFileRecord("img/bild" + std::to_string(i) + ".gif", source.string());
    store.Records.push_back(one.Records.back());
  }
  store.WritePack();
  fs::remove(source);
  fs::remove(dir / "one.kzp");
  return path;
}

void BM_OpenLargePack(benchmark::State &state) {
  EnsureApplication();
  const int megabytes = static_cast<int>(state.range(0));
  const int templates = static_cast<int>(state.range(1));
  const int files = static_cast<int>(state.range(2));
  const fs::path dir = fs::temp_directory_path() / ("kzwb-bench-" + std::to_string(::getpid()));
  const std::string pack = MakePack(dir, megabytes, templates, files);
  const fs::path programDir = dir / "prog";
  fs::create_directories(programDir);
  auto frm = std::make_unique<TfrmMain>(programDir.string() + "/", QStringList());
  CreateAppWindows(frm.get());
  frm->show();
  QApplication::processEvents();
  for (auto _ : state) {
    frm->OpenPack(pack);
    // Let the tree lay itself out and paint, as it does before the user sees it.
    QApplication::processEvents();
    benchmark::DoNotOptimize(frm->twProjekt->topLevelItemCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fs::file_size(pack)));
  state.counters["pack_MB"] = static_cast<double>(fs::file_size(pack)) / (1024.0 * 1024.0);
  DestroyAppWindows();
  frm.reset();
  ThePackStore().Records.clear();
  ThePackStore().PackPath = "na";
  fs::remove_all(dir);
}
} // namespace

// 100 MB in few large files, and in many small files with many templates (a long tree).
BENCHMARK(BM_OpenLargePack)
    ->Args({100, 50, 100})
    ->Args({100, 5000, 10000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
