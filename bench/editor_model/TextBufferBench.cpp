// Throughput of the text buffer on a million-line document: reading, whole-text access, a
// middle insert, the longest line after a one-line change and after a tab width change, plus
// what the buffer costs per line in memory.
#include "editor/KzEditTextBuffer.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>
#include <sstream>
#include <string>

namespace {

constexpr int kLines = 1000000;

// 1,000,000 lines of 48 characters plus CR LF: 50,000,000 bytes. Some lines carry a tab so the
// expansion cache has something to do.
const std::string &Document() {
  static const std::string doc = [] {
    std::string d;
    d.reserve(std::size_t(kLines) * 50);
    for (int i = 0; i < kLines; ++i) {
      std::string line = "<td class=\"cell\">" + std::to_string(i) + "</td>";
      if (i % 7 == 0)
        line[0] = '\t';
      line.resize(48, ' ');
      d += line;
      d += "\r\n";
    }
    return d;
  }();
  return doc;
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_ReadStream(benchmark::State &state) {
  const std::string &doc = Document();
  std::istringstream in(doc);
  // Heap held by the buffer beyond the text itself (records, block headers, allocator
  // rounding), per line; measured once outside the timing, since asking the allocator walks
  // its free lists.
  double overhead = 0;
  {
    const std::size_t before = HeapInUse();
    TKzEditStringList list;
    list.ReadStream(in);
    const double text = double(doc.size()) - 2.0 * kLines;
    overhead = (double(HeapInUse() - before) - text) / kLines;
  }
  for (auto _ : state) {
    auto list = std::make_unique<TKzEditStringList>();
    list->ReadStream(in);
    benchmark::DoNotOptimize(list->Count());
    state.PauseTiming();
    list.reset(); // freeing a million lines is not part of reading them
    state.ResumeTiming();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(doc.size()));
  state.counters["bytes_per_line_beyond_text"] = overhead;
}
BENCHMARK(BM_ReadStream)->Unit(benchmark::kMillisecond);

void BM_TextGet(benchmark::State &state) {
  TKzEditStringList list;
  list.ReadBytes(Document());
  std::size_t size = 0;
  for (auto _ : state) {
    std::string text = list.GetText();
    size = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}
BENCHMARK(BM_TextGet)->Unit(benchmark::kMillisecond);

void BM_InsertLineMiddle(benchmark::State &state) {
  TKzEditStringList list;
  list.ReadBytes(Document());
  list.SetCapacity(kLines + 16); // growth is a separate cost; this measures the move
  for (auto _ : state) {
    list.InsertLine(kLines / 2, "inserted line");
    state.PauseTiming();
    list.DeleteLine(kLines / 2);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()));
}
BENCHMARK(BM_InsertLineMiddle)->Unit(benchmark::kMicrosecond);

void BM_LongestLine(benchmark::State &state) {
  TKzEditStringList list;
  list.ReadBytes(Document());
  benchmark::DoNotOptimize(list.LongestLineLength()); // every length known from here on
  int n = 0;
  for (auto _ : state) {
    list.ReplaceLine(kLines / 2, (++n & 1) ? "changed\tline" : "changed line");
    benchmark::DoNotOptimize(list.LongestLineLength());
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * kLines);
}
BENCHMARK(BM_LongestLine)->Unit(benchmark::kMicrosecond);

// What the edits above no longer pay: the full scan after a tab width change, which measures
// every line again.
void BM_LongestLineRescan(benchmark::State &state) {
  TKzEditStringList list;
  list.ReadBytes(Document());
  int n = 0;
  for (auto _ : state) {
    list.SetTabWidth((++n & 1) ? 4 : 8);
    benchmark::DoNotOptimize(list.LongestLineLength());
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * kLines);
}
BENCHMARK(BM_LongestLineRescan)->Unit(benchmark::kMillisecond);

} // namespace
