// The pack store: the records of the open pack and every operation on them.
#include "pack/PackStore.h"

#include "pack/KzpCodec.h"
#include "pack/PackFile.h"
#include "pack/PackLock.h"
#include "pack/PackNames.h"
#include "pack/PackShadow.h"
#include "pack/SplitFns.h"

#include <map>
#include <optional>
#include <utility>

namespace {

const std::string kFieldSeparator = "\t.\t";
const std::string kFilePrefix = "img:";
constexpr std::size_t kSourceBlock = 4096;

std::string ReplaceAll(const std::string &text, const std::string &from, const std::string &to) {
  if (text.find(from) == std::string::npos)
    return text;
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (;;) {
    const std::size_t hit = text.find(from, at);
    if (hit == std::string::npos)
      break;
    out.append(text, at, hit - at);
    out += to;
    at = hit + from.size();
  }
  out.append(text, at, std::string::npos);
  return out;
}

void RequireOpenPack(const TPackStore &store) {
  if (store.PackPath == "na")
    throw EPackError("Es ist kein Template-Pack geöffnet.");
}

// A TAB or LF inside a name or a metadata string would cut the record apart.
bool BreaksRecord(const std::string &s) {
  return s.find('\t') != std::string::npos || s.find('\n') != std::string::npos;
}

bool IsTemplateRecordNamed(const std::string &record, const std::string &name) {
  return !record.empty() && !IsFileRecord(record) && RecordKey(record) == name;
}

TPackContents ContentsOf(const std::vector<std::string> &records) {
  TPackContents contents;
  contents.Meta = ParseMetaRecord(records[0]);
  for (std::size_t i = 1; i < records.size(); ++i) {
    const std::string &record = records[i];
    if (record.empty())
      continue;
    if (IsFileRecord(record))
      contents.Files.push_back(RecordKey(record).substr(kFilePrefix.size()));
    else
      contents.Templates.push_back(RecordKey(record));
  }
  return contents;
}

// What a record is, for a message.
std::string RecordDescription(const std::vector<std::string> &records, std::size_t index) {
  if (index == 0)
    return "die Metadaten";
  const std::string &record = records[index];
  if (record.empty())
    return "ein leerer Eintrag";
  if (IsFileRecord(record))
    return "die Datei \"" + ShownName(RecordKey(record).substr(kFilePrefix.size())) + "\"";
  return "das Template \"" + ShownName(RecordKey(record)) + "\"";
}

} // namespace

std::string CutOffMessageOf(const std::vector<std::string> &records, bool lastRecordCut) {
  std::string text =
      "Die Datei endet mitten im Pack; es fehlt, was nach dem letzten vollständigen Eintrag kam";
  const std::size_t complete = records.size() - (lastRecordCut ? 1 : 0);
  if (complete == 0)
    return text + ", und nicht einmal die Metadaten sind vollständig.";
  text += ". Der letzte vollständige Eintrag ist " + RecordDescription(records, complete - 1);
  if (lastRecordCut)
    text += "; " + RecordDescription(records, complete) + " danach ist abgeschnitten";
  return text + ".";
}

// One change of the records: Apply makes it in Records, Undo takes back what Apply did
// (also when Apply stopped halfway), so a failed write leaves Records as the file holds them.
struct TPackStore::TChange {
  bool Appending = false;
  std::function<void()> Apply, Undo;
};

std::string EscapeTemplateText(const std::string &text) {
  return ReplaceAll(ReplaceAll(ReplaceAll(text, "\r", "<_R_>"), "\n", "<_N_>"), "\t", "<_T_>");
}

std::string UnescapeTemplateText(const std::string &text) {
  return ReplaceAll(ReplaceAll(ReplaceAll(text, "<_R_>", "\r"), "<_N_>", "\n"), "<_T_>", "\t");
}

std::string BuildMetaRecord(const kzpMetaData &meta) {
  return meta.Titel + kFieldSeparator + meta.Author + kFieldSeparator + meta.AuthorMail +
         kFieldSeparator + meta.AuthorWeb + kFieldSeparator + meta.Ordner;
}

kzpMetaData ParseMetaRecord(const std::string &record) {
  std::vector<std::string> tokens;
  SplitString(record, '\t', tokens);
  auto token = [&](std::size_t i) { return i < tokens.size() ? tokens[i] : std::string(); };
  return kzpMetaData{token(0), token(2), token(4), token(6), token(8)};
}

std::string BuildTemplateRecord(const std::string &name, const std::string &text) {
  return name + kFieldSeparator + EscapeTemplateText(text);
}

std::string TemplateTextOfRecord(const std::string &record) {
  std::vector<std::string> tokens;
  SplitString(record, '\t', tokens);
  return tokens.size() >= 3 ? UnescapeTemplateText(tokens[2]) : std::string();
}

std::string RecordKey(const std::string &record) {
  std::size_t position = 1;
  return NextToken(record, '\t', position);
}

bool IsFileRecord(const std::string &record) {
  return record.compare(0, kFilePrefix.size(), kFilePrefix) == 0;
}

TPackStore::TPackStore() : shadow_(std::make_unique<TPackShadow>()) {}

TPackStore::~TPackStore() = default;

TPackContents TPackStore::ReadAndAdopt(const std::string &path) {
  TPackRead read = ReadPackFile(path);
  if (read.Records.empty())
    throw EPackNotAPackError("Listenindex überschreitet das Maximum (0)");
  TPackContents contents = ContentsOf(read.Records);
  contents.CutOff = read.CutOff;
  // Nothing above touched the store, so a failure leaves the previous pack open.
  Adopt(std::move(read), path);
  contents.CutOffMessage = cutOffMessage_;
  return contents;
}

void TPackStore::Adopt(TPackRead &&read, const std::string &path) {
  shadow_->Drop();
  cutOffMessage_ = read.CutOff ? CutOffMessageOf(read.Records, read.LastRecordCut) : std::string();
  Records = std::move(read.Records);
  PackPath = path;
  disk_ = read.File;
  diskPath_ = path;
  cutOff_ = read.CutOff;
  cutOffAccepted_ = false;
}

TPackContents TPackStore::LoadPack(const std::string &path) {
  TPackContents contents = ReadAndAdopt(path);
  TPackShadow::RemoveLeftovers(path);
  Modified = false;
  CurrentTemplate = "na";
  return contents;
}

TPackContents TPackStore::Reload() {
  RequireOpenPack(*this);
  const TPackContents contents = ReadAndAdopt(PackPath);
  if (OnReloaded)
    OnReloaded(contents);
  return contents;
}

bool TPackStore::ChangedOnDisk() const {
  if (PackPath == "na" || PackPath != diskPath_)
    return false;
  TFileIdentity now;
  return IdentityOfTarget(PackPath, now) && !(now == disk_);
}

void TPackStore::PrepareChange(TPackLock &lock) {
  lock.Acquire(PackPath, LockTimeout);
  for (;;) {
    if (ChangedOnDisk()) {
      // The question waits for a person, who must not keep other writers waiting.
      if (OnChangedOnDisk) {
        lock.Release();
        if (!OnChangedOnDisk())
          throw EPackCancelled();
        Reload();
        lock.Acquire(PackPath, LockTimeout);
      } else {
        Reload();
      }
      continue;
    }
    if (cutOff_ && !cutOffAccepted_) {
      if (!OnWriteCutOff)
        throw EPackCutOffError(cutOffMessage_);
      lock.Release();
      if (!OnWriteCutOff())
        throw EPackCancelled();
      cutOffAccepted_ = true;
      lock.Acquire(PackPath, LockTimeout);
      continue;
    }
    return;
  }
}

void TPackStore::Change(const TChange &change) {
  RequireOpenPack(*this);
  TPackLock lock;
  PrepareChange(lock);
  try {
    change.Apply();
    WriteRecords(change.Appending);
  } catch (...) {
    change.Undo();
    throw;
  }
}

void TPackStore::WriteMetaData(const kzpMetaData &meta) {
  RequireOpenPack(*this);
  const std::pair<const char *, const std::string *> fields[] = {{"Titel", &meta.Titel},
                                                                 {"Autor", &meta.Author},
                                                                 {"E-Mail", &meta.AuthorMail},
                                                                 {"Web", &meta.AuthorWeb},
                                                                 {"Ordner", &meta.Ordner}};
  for (const auto &[label, value] : fields) {
    if (value->empty())
      throw EPackError(std::string("Das Feld \"") + label +
                       "\" ist leer. Ein leeres Feld kann im Pack nicht gespeichert werden, "
                       "es würde die folgenden Felder verschieben.");
    if (BreaksRecord(*value))
      throw EPackError(
          std::string("Das Feld \"") + label +
          "\" enthält einen Tabulator oder Zeilenumbruch und kann nicht gespeichert werden.");
  }
  std::string record = BuildMetaRecord(meta);
  std::string previous;
  bool added = false;
  Change({false,
          [&] {
            if (Records.empty()) {
              Records.push_back(std::move(record));
              added = true;
            } else {
              previous = std::move(Records[0]);
              Records[0] = std::move(record);
            }
          },
          [&] {
            if (added)
              Records.pop_back();
            else
              Records[0] = std::move(previous);
          }});
}

void TPackStore::AddFileRecord(const std::string &name, const std::string &sourcePath) {
  RequireOpenPack(*this);
  const std::string refusal = TargetNameRefusal(name);
  if (!refusal.empty())
    throw EPackError(refusal);
  std::string record;
  {
    const std::string bytes = ReadWholeFile(sourcePath, kSourceBlock);
    record.reserve(kFilePrefix.size() + name.size() + kFieldSeparator.size() +
                   (bytes.size() + 2) / 3 * 4);
    record += kFilePrefix;
    record += name;
    record += kFieldSeparator;
    std::string encoded;
    EncodeBase64To(bytes, encoded);
    record += encoded;
  }
  bool added = false;
  Change({true,
          [&] {
            // Room first, so that putting the record in cannot fail halfway.
            Records.reserve(Records.size() + 1);
            Records.push_back(std::move(record));
            added = true;
          },
          [&] {
            if (added)
              Records.pop_back();
          }});
}

void TPackStore::DeleteFileRecord(const std::string &name) {
  RequireOpenPack(*this);
  const std::string key = kFilePrefix + name;
  // The records kept move to a new list; the old one keeps the removed ones where they
  // were, so that taking the change back needs no memory.
  std::vector<std::string> kept;
  std::vector<bool> keptAt;
  bool swapped = false;
  Change({false,
          [&] {
            keptAt.assign(Records.size(), false);
            std::size_t count = 0;
            for (std::size_t i = 0; i < Records.size(); ++i) {
              keptAt[i] = i == 0 || Records[i].empty() || !IsFileRecord(Records[i]) ||
                          RecordKey(Records[i]) != key;
              count += keptAt[i];
            }
            kept.clear();
            kept.reserve(count);
            for (std::size_t i = 0; i < Records.size(); ++i)
              if (keptAt[i])
                kept.push_back(std::move(Records[i]));
            Records.swap(kept);
            swapped = true;
          },
          [&] {
            if (!swapped)
              return; // the list was not touched yet
            std::size_t next = 0;
            for (std::size_t i = 0; i < kept.size(); ++i)
              if (keptAt[i])
                kept[i] = std::move(Records[next++]);
            Records.swap(kept);
          }});
}

std::size_t TPackStore::SaveTemplate(const std::string &name, const std::string &text) {
  RequireOpenPack(*this);
  const std::string record = name + kFieldSeparator + EscapeTemplateText(text);
  std::vector<std::pair<std::size_t, std::string>> replaced;
  Change({false,
          [&] {
            replaced.clear();
            std::size_t count = 0;
            for (std::size_t i = 1; i < Records.size(); ++i)
              count += IsTemplateRecordNamed(Records[i], name);
            replaced.reserve(count);
            for (std::size_t i = 1; i < Records.size(); ++i) {
              if (!IsTemplateRecordNamed(Records[i], name))
                continue;
              std::string copy = record;
              replaced.emplace_back(i, std::move(Records[i]));
              Records[i] = std::move(copy);
            }
          },
          [&] {
            for (auto &[index, old] : replaced)
              Records[index] = std::move(old);
            replaced.clear();
          }});
  return replaced.size();
}

void TPackStore::SaveTemplates(const std::vector<std::pair<std::string, std::string>> &texts) {
  std::map<std::string, const std::string *> byName;
  for (const auto &[name, text] : texts)
    byName[name] = &text;
  SaveTemplates([&](const std::string &name, std::string &text) {
    const auto it = byName.find(name);
    if (it == byName.end())
      return false;
    text = *it->second;
    return true;
  });
}

void TPackStore::SaveTemplates(const TTemplateEdit &edit) {
  RequireOpenPack(*this);
  // The records replaced, kept until the pack is written, to put back if it is not.
  std::vector<std::pair<std::size_t, std::string>> previous;
  Change({false,
          [&] {
            previous.clear();
            // Each name is edited once; later records of the same name take its result.
            std::map<std::string, std::optional<std::string>> decided;
            for (std::size_t i = 1; i < Records.size(); ++i) {
              const std::string &record = Records[i];
              if (record.empty() || IsFileRecord(record))
                continue;
              const std::string name = RecordKey(record);
              auto it = decided.find(name);
              if (it == decided.end()) {
                std::string text = TemplateTextOfRecord(record);
                std::optional<std::string> result;
                if (edit(name, text))
                  result = BuildTemplateRecord(name, text);
                it = decided.emplace(name, std::move(result)).first;
              }
              if (!it->second)
                continue;
              std::string replaced = *it->second;
              previous.emplace_back(i, std::move(Records[i]));
              Records[i] = std::move(replaced);
            }
          },
          [&] {
            for (auto &[index, record] : previous)
              Records[index] = std::move(record);
            previous.clear();
          }});
}

std::string TPackStore::GetTemplate(const std::string &name) const {
  for (std::size_t i = 1; i < Records.size(); ++i) {
    if (IsTemplateRecordNamed(Records[i], name))
      return TemplateTextOfRecord(Records[i]);
  }
  return std::string();
}

void TPackStore::WritePack() {
  RequireOpenPack(*this);
  TPackLock lock;
  lock.Acquire(PackPath, LockTimeout);
  WriteRecords(false);
}

void TPackStore::WriteRecords(bool appending) {
  RequireOpenPack(*this);
  // Files added one after another: the pack the previous add replaced is still at hand
  // and only needs the new records, so an import writes each file once instead of the
  // whole pack each time. Any other change writes the whole pack.
  if (appending && shadow_->Append(PackPath, Records)) {
    disk_ = shadow_->LastWritten();
  } else {
    TSafeFileWriter writer(PackPath);
    TBase64StreamEncoder encoder;
    std::string chunk;
    chunk.reserve(kEncodeSlice / 3 * 4 + 8);
    EncodeRecords(Records, 0, encoder, chunk, [&writer](std::string &full) {
      writer.Write(full);
      full.clear();
    });
    encoder.Finish(chunk);
    chunk += "\r\n";
    writer.Write(chunk);
    struct THook {
      TPackShadow *shadow;
      const TReplaceTarget *target;
      bool linked;
    } hook{shadow_.get(), &writer.Target(), false};
    try {
      writer.Commit(
                appending ? +[](void *c) {
                    auto *h = static_cast<THook *>(c);
                    h->shadow->LinkReplaced(*h->target);
                    h->linked = true;
                }
                          : nullptr,
                &hook);
    } catch (...) {
      shadow_->ReplaceFailed();
      throw;
    }
    shadow_->Replaced(writer.Target(), writer.Written(), Records, hook.linked);
    disk_ = writer.Written();
  }
  diskPath_ = PackPath;
  // Every write ends the pack text with LF: whatever was cut off is now a clean pack.
  cutOff_ = false;
  cutOffAccepted_ = false;
  cutOffMessage_.clear();
}

TPackStore &ThePackStore() {
  static TPackStore store;
  return store;
}
