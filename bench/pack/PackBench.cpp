// Benchmarks of the pack codec and store: 100 MB through the codec, opening and writing a
// 100 MB pack of 1,000 records, and importing 1,000 files of 10 KB.
#include "pack/FolderImport.h"
#include "pack/KzpCodec.h"
#include "pack/PackStore.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

constexpr std::size_t kTextSize = 100u << 20; // base64 text of the codec and pack benchmarks

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::string s(n, '\0');
  for (std::size_t i = 0; i + 8 <= n; i += 8) {
    const std::uint64_t v = rng();
    std::memcpy(&s[i], &v, 8);
  }
  return s;
}

class TBenchFolder {
public:
  TBenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzpbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
      std::abort();
    path_ = pattern;
  }
  ~TBenchFolder() { std::filesystem::remove_all(path_); }
  const std::string &Path() const { return path_; }

private:
  std::string path_;
};

void WriteFile(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A pack file of about 100 MB: metadata, then 1,000 records, half templates and half files.
std::string MakeBigPack(const std::string &path) {
  const std::size_t recordBytes = kTextSize / 4 * 3 / 1000;
  std::string packText = "Titel\t.\tAutor\t.\tmail\t.\tweb\t.\tordner\n";
  std::mt19937 rng(1);
  for (int i = 0; i < 1000; ++i) {
    if (i % 2 == 0) {
      packText += 't';
      packText += std::to_string(i);
      packText += ".htm\t.\t";
      std::string text(recordBytes, 'x');
      for (char &c : text)
        c = static_cast<char>('a' + rng() % 26);
      packText += text;
    } else {
      packText += "img:f";
      packText += std::to_string(i);
      packText += ".gif\t.\t";
      packText += EncodeBase64(RandomBytes(recordBytes / 4 * 3, static_cast<unsigned>(i)));
    }
    packText += '\n';
  }
  WriteFile(path, EncodeBase64(packText) + "\r\n");
  return path;
}

void BM_DecodeBase64(benchmark::State &state) {
  const std::string text = EncodeBase64(RandomBytes(kTextSize / 4 * 3, 2));
  std::string out;
  for (auto _ : state) {
    DecodeBase64To(text, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DecodeBase64)->Unit(benchmark::kMillisecond);

void BM_EncodeBase64(benchmark::State &state) {
  const std::string bytes = RandomBytes(kTextSize / 4 * 3, 3);
  // Into one reused buffer, as the pack writer encodes into its reused write buffer, so
  // the figure is the codec's and not the kernel's handing out of fresh pages.
  std::string text;
  for (auto _ : state) {
    EncodeBase64To(bytes, text);
    benchmark::DoNotOptimize(text.data());
  }
  // Counted in base64 text, like the decoder.
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_EncodeBase64)->Unit(benchmark::kMillisecond);

void BM_LoadPack(benchmark::State &state) {
  TBenchFolder dir;
  const std::string path = MakeBigPack(dir.Path() + "/big.kzp");
  const auto size = std::filesystem::file_size(path);
  TPackStore store;
  for (auto _ : state) {
    const TPackContents c = store.LoadPack(path);
    benchmark::DoNotOptimize(c.Templates.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_LoadPack)->Unit(benchmark::kMillisecond);

void BM_WritePack(benchmark::State &state) {
  TBenchFolder dir;
  const std::string path = MakeBigPack(dir.Path() + "/big.kzp");
  const auto size = std::filesystem::file_size(path);
  TPackStore store;
  store.LoadPack(path);
  for (auto _ : state)
    store.WritePack();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_WritePack)->Unit(benchmark::kMillisecond);

// The folder import: every file added on its own, and the pack written to disk after each.
void BM_ImportFolder(benchmark::State &state) {
  TBenchFolder dir;
  const std::string source = dir.Path() + "/quelle";
  std::filesystem::create_directories(source + "/bilder");
  for (int i = 0; i < 1000; ++i)
    WriteFile(source + (i % 4 == 0 ? "/bilder/b" : "/d") + std::to_string(i) + ".gif",
              RandomBytes(10 * 1024, i));
  const std::string pack = dir.Path() + "/import.kzp";
  const std::string empty =
      EncodeBase64("Titel\t.\tAutor\t.\tmail\t.\tweb\t.\tordner\nindex.htm\t.\t<html>\n") + "\r\n";
  TPackStore store;
  for (auto _ : state) {
    state.PauseTiming();
    WriteFile(pack, empty);
    store.LoadPack(pack);
    // The sources just made must not be flushed on the import's time.
    ::sync();
    state.ResumeTiming();
    RunFolderImport(store, PrepareFolderImport(source), {});
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 1000));
}
BENCHMARK(BM_ImportFolder)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
