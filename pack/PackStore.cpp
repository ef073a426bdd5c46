// The pack store: the records of the open pack and every operation on them.
#include "pack/PackStore.h"

#include "pack/KzpCodec.h"
#include "pack/PackFile.h"
#include "pack/PackShadow.h"
#include "pack/SplitFns.h"

#include <map>
#include <utility>

namespace {

const std::string kFieldSeparator = "\t.\t";
const std::string kFilePrefix = "img:";
constexpr std::size_t kSourceBlock = 4096;

std::string ReplaceAll(const std::string &text, const std::string &from, const std::string &to)
{
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

void RequireOpenPack(const TPackStore &store)
{
    if (store.PackPath == "na")
        throw EPackError("Es ist kein Template-Pack geöffnet.");
}

// A TAB or LF inside a name or a metadata string would cut the record apart.
bool BreaksRecord(const std::string &s)
{
    return s.find('\t') != std::string::npos || s.find('\n') != std::string::npos;
}

bool IsTemplateRecordNamed(const std::string &record, const std::string &name)
{
    return !record.empty() && !IsFileRecord(record) && RecordKey(record) == name;
}

} // namespace

std::string EscapeTemplateText(const std::string &text)
{
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "\r", "<_R_>"), "\n", "<_N_>"), "\t", "<_T_>");
}

std::string UnescapeTemplateText(const std::string &text)
{
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "<_R_>", "\r"), "<_N_>", "\n"), "<_T_>", "\t");
}

std::string BuildMetaRecord(const kzpMetaData &meta)
{
    return meta.Titel + kFieldSeparator + meta.Author + kFieldSeparator + meta.AuthorMail + kFieldSeparator +
           meta.AuthorWeb + kFieldSeparator + meta.Ordner;
}

kzpMetaData ParseMetaRecord(const std::string &record)
{
    std::vector<std::string> tokens;
    SplitString(record, '\t', tokens);
    auto token = [&](std::size_t i) { return i < tokens.size() ? tokens[i] : std::string(); };
    return kzpMetaData{token(0), token(2), token(4), token(6), token(8)};
}

std::string BuildTemplateRecord(const std::string &name, const std::string &text)
{
    return name + kFieldSeparator + EscapeTemplateText(text);
}

std::string TemplateTextOfRecord(const std::string &record)
{
    std::vector<std::string> tokens;
    SplitString(record, '\t', tokens);
    return tokens.size() >= 3 ? UnescapeTemplateText(tokens[2]) : std::string();
}

std::string RecordKey(const std::string &record)
{
    std::size_t position = 1;
    return NextToken(record, '\t', position);
}

bool IsFileRecord(const std::string &record)
{
    return record.compare(0, kFilePrefix.size(), kFilePrefix) == 0;
}

TPackStore::TPackStore() : shadow_(std::make_unique<TPackShadow>()) {}

TPackStore::~TPackStore() = default;

TPackContents TPackStore::LoadPack(const std::string &path)
{
    std::vector<std::string> records = ReadPackRecords(path);
    if (records.empty())
        throw EPackNotAPackError("Listenindex überschreitet das Maximum (0)");

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

    // Nothing above touched the store, so a failure leaves the previous pack open.
    shadow_->Drop();
    TPackShadow::RemoveLeftovers(path);
    Records = std::move(records);
    PackPath = path;
    Modified = false;
    CurrentTemplate = "na";
    return contents;
}

void TPackStore::WriteMetaData(const kzpMetaData &meta)
{
    RequireOpenPack(*this);
    const std::pair<const char *, const std::string *> fields[] = {
        {"Titel", &meta.Titel}, {"Autor", &meta.Author}, {"E-Mail", &meta.AuthorMail},
        {"Web", &meta.AuthorWeb}, {"Ordner", &meta.Ordner}};
    for (const auto &[label, value] : fields) {
        if (value->empty())
            throw EPackError(std::string("Das Feld \"") + label +
                             "\" ist leer. Ein leeres Feld kann im Pack nicht gespeichert werden, "
                             "es würde die folgenden Felder verschieben.");
        if (BreaksRecord(*value))
            throw EPackError(std::string("Das Feld \"") + label +
                             "\" enthält einen Tabulator oder Zeilenumbruch und kann nicht gespeichert werden.");
    }
    if (Records.empty())
        Records.push_back(BuildMetaRecord(meta));
    else
        Records[0] = BuildMetaRecord(meta);
    WritePack();
}

void TPackStore::AddFileRecord(const std::string &name, const std::string &sourcePath)
{
    RequireOpenPack(*this);
    if (BreaksRecord(name))
        throw EPackError("Der Dateiname \"" + name +
                         "\" enthält einen Tabulator oder Zeilenumbruch und kann nicht gespeichert werden.");
    const std::string bytes = ReadWholeFile(sourcePath, kSourceBlock);
    std::string record;
    record.reserve(kFilePrefix.size() + name.size() + kFieldSeparator.size() + bytes.size() / 3 * 4 + 4);
    record += kFilePrefix;
    record += name;
    record += kFieldSeparator;
    record += EncodeBase64(bytes);
    Records.push_back(std::move(record));
    WriteRecords(true);
}

void TPackStore::DeleteFileRecord(const std::string &name)
{
    RequireOpenPack(*this);
    const std::string key = kFilePrefix + name;
    std::vector<std::string> kept;
    kept.reserve(Records.size());
    for (std::size_t i = 0; i < Records.size(); ++i) {
        if (i == 0 || Records[i].empty() || !IsFileRecord(Records[i]) || RecordKey(Records[i]) != key)
            kept.push_back(std::move(Records[i]));
    }
    Records = std::move(kept);
    WritePack();
}

void TPackStore::SaveTemplate(const std::string &name, const std::string &text)
{
    RequireOpenPack(*this);
    const std::string record = name + kFieldSeparator + EscapeTemplateText(text);
    for (std::size_t i = 1; i < Records.size(); ++i) {
        if (IsTemplateRecordNamed(Records[i], name))
            Records[i] = record;
    }
    WritePack();
}

void TPackStore::SaveTemplates(const std::vector<std::pair<std::string, std::string>> &texts)
{
    RequireOpenPack(*this);
    if (texts.empty())
        return;
    std::map<std::string, const std::string *> byName;
    for (const auto &[name, text] : texts)
        byName[name] = &text;
    // The records replaced, kept until the pack is written, to put back if it is not.
    std::vector<std::pair<std::size_t, std::string>> previous;
    for (std::size_t i = 1; i < Records.size(); ++i) {
        const std::string &record = Records[i];
        if (record.empty() || IsFileRecord(record))
            continue;
        const auto it = byName.find(RecordKey(record));
        if (it == byName.end())
            continue;
        std::string replaced = BuildTemplateRecord(it->first, *it->second);
        previous.emplace_back(i, std::move(Records[i]));
        Records[i] = std::move(replaced);
    }
    try {
        WritePack();
    } catch (...) {
        for (auto &[index, record] : previous)
            Records[index] = std::move(record);
        throw;
    }
}

std::string TPackStore::GetTemplate(const std::string &name) const
{
    for (std::size_t i = 1; i < Records.size(); ++i) {
        if (IsTemplateRecordNamed(Records[i], name))
            return TemplateTextOfRecord(Records[i]);
    }
    return std::string();
}

void TPackStore::WritePack()
{
    WriteRecords(false);
}

void TPackStore::WriteRecords(bool appending)
{
    RequireOpenPack(*this);
    // Files added one after another: the pack the previous add replaced is still at hand
    // and only needs the new records, so an import writes each file once instead of the
    // whole pack each time. Any other change writes the whole pack.
    if (appending && shadow_->Append(PackPath, Records))
        return;
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
}

TPackStore &ThePackStore()
{
    static TPackStore store;
    return store;
}
