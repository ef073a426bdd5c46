// Benchmarks of the template check and the preview: a 200,000-line template, every template
// of a 100 MB pack, and the page of a typical template with its includes.
#include "pack/PackStore.h"
#include "template/PreviewResolver.h"
#include "template/TemplateCatalogue.h"
#include "template/TemplateCheck.h"
#include "template/TemplatePack.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

struct TStandard {
  TTemplateCatalogue Catalogue = TTemplateCatalogue::Load(KZ_BIN_DIR "/varLib03.db");
  TPackStore Store;
  TStandard() { Store.LoadPack(KZ_BIN_DIR "/stdtpl.db"); }
};

const TStandard &Standard() {
  static const TStandard standard;
  return standard;
}

// The standard templates' pages, one after another until `lines` lines are reached: real
// markup with every kind of construct, its blocks pairing.
std::string BigTemplate(std::size_t lines) {
  const TStandard &s = Standard();
  const std::string pieces[] = {
      s.Store.GetTemplate("inbox.htm"), s.Store.GetTemplate("message.htm"),
      s.Store.GetTemplate("compose.htm"), s.Store.GetTemplate("addressbook.htm")};
  std::string text;
  std::size_t count = 0;
  for (std::size_t i = 0; count < lines; ++i) {
    const std::string &piece = pieces[i % 4];
    for (std::size_t p = 0; p < piece.size() && count < lines; ++p) {
      text += piece[p];
      if (piece[p] == '\n')
        ++count;
    }
    text += "\r\n";
    ++count;
  }
  return text;
}

void BM_CheckTemplate(benchmark::State &state) {
  const TStandard &s = Standard();
  const std::string text = BigTemplate(200000);
  const TTemplatePack pack(s.Store.Records);
  const TTemplateCheck check(s.Catalogue, pack);
  std::size_t findings = 0;
  for (auto _ : state) {
    const std::vector<TTplFinding> found = check.CheckText("big.htm", text);
    findings = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  if (findings != 0)
    state.SkipWithError("the big template should check clean");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CheckTemplate)->Unit(benchmark::kMillisecond);

void BM_CheckPack(benchmark::State &state) {
  // The standard pack, then templates of about 100 KB each up to 100 MB of pack text.
  const TStandard &s = Standard();
  std::vector<std::string> records = s.Store.Records;
  const std::string body = BigTemplate(2000);
  std::size_t total = 0;
  for (const std::string &r : records)
    total += r.size() + 1;
  for (int i = 0; total < (100u << 20); ++i) {
    records.push_back(BuildTemplateRecord("seite" + std::to_string(i) + ".htm", body));
    total += records.back().size() + 1;
  }
  std::size_t findings = 0;
  for (auto _ : state) {
    // Each pass reads every template out of its record again, as a check in the studio does.
    const TTemplatePack pack(records);
    const std::vector<TTplFinding> found = TTemplateCheck(s.Catalogue, pack).CheckPack();
    findings = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  if (findings != 0)
    state.SkipWithError("the pack should check clean");
  state.counters["templates"] = static_cast<double>(records.size() - 1);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(BM_CheckPack)->Unit(benchmark::kMillisecond);

void BM_ResolvePreview(benchmark::State &state) {
  // The message list: header and footer included, a loop of rows, conditions, pictures.
  const TStandard &s = Standard();
  const TTemplatePack pack(s.Store.Records);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = TPreviewResolver(s.Catalogue, pack).Resolve("inbox.htm");
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ResolvePreview)->Unit(benchmark::kMicrosecond);

} // namespace
