// Fuzz target pack_read: a pack file's bytes. Reading either refuses them as damaged or gives
// exactly the records the plain path (decode whole, then split) gives, with the cut-off
// verdict that path implies; every record can be taken apart without harm.
#include "FuzzTargets.h"

#include "pack/PackFile.h"
#include "pack/PackStore.h"
#include "pack/SplitFns.h"

KZ_FUZZ_TARGET(pack_read)(const std::uint8_t *data, std::size_t size) {
  const std::string bytes = FuzzBytes(data, size);
  TPackRead read;
  std::string packText;
  bool refused = false, refusedPlain = false;
  try {
    read = ReadPackBytes(bytes, "f");
  } catch (const EPackError &) {
    refused = true;
  }
  try {
    packText = PackTextOfFileContent(bytes, "f");
  } catch (const EPackError &) {
    refusedPlain = true;
  }
  FuzzCheck(refused == refusedPlain, "both readers refuse the same files");
  if (refused)
    return;
  std::vector<std::string> records;
  SplitString(packText, '\n', records);
  FuzzCheck(read.Records == records, "records read in slices equal the pack text split on LF");
  FuzzCheck(!read.LastRecordCut || read.CutOff, "a cut last record means a cut-off pack");
  FuzzCheck(read.LastRecordCut == (!packText.empty() && packText.back() != '\n'),
            "the last record is cut exactly when the text does not end with LF");
  for (const std::string &record : read.Records) {
    RecordKey(record);
    TemplateTextOfRecord(record);
  }
  if (!read.Records.empty()) {
    ParseMetaRecord(read.Records[0]);
    if (read.CutOff)
      FuzzCheck(!CutOffMessageOf(read.Records, read.LastRecordCut).empty(),
                "a cut-off pack is described");
  }
}
