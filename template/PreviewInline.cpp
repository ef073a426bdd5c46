// Putting a preview page's files into the page itself.
#include "template/PreviewInline.h"

#include "pack/KzpCodec.h"
#include "template/StyleSheetUrls.h"
#include "template/TemplatePack.h"
#include "template/TemplateReader.h"

#include <algorithm>

namespace {

// Style sheets naming style sheets: deeper than this, something loops.
constexpr int kMaxDepth = 8;

class TInliner {
public:
  TInliner(const TTemplateCatalogue &catalogue, const TTemplatePack &pack,
           const TPreviewOptions &options)
      : catalogue_(catalogue), pack_(pack), options_(options) {}

  std::string Page(std::string_view name, int depth) {
    TPreviewResolver resolver(catalogue_, pack_, options_);
    resolver.UrlOf = [this, depth](std::string_view path) {
      // A bare %%tpl_url%% is the pack's folder; inside one file it stands for nothing.
      return path.empty() ? std::string() : DataUrl(PackNameOfAddress("", path), path, depth);
    };
    return resolver.Resolve(name);
  }

  std::vector<std::string> TakeMissing() { return std::move(missing_); }

private:
  static std::string Data(const std::string &mime, std::string_view bytes) {
    std::string text = EncodeBase64(bytes);
    // The pack writes base64 without "=", but a data: address wants its padding.
    text.append((4 - text.size() % 4) % 4, '=');
    return "data:" + mime + ";base64," + text;
  }

  std::string StyleSheet(std::string_view name, const std::string &text, int depth) {
    std::string out;
    std::size_t copied = 0;
    ForEachStyleSheetUrl(text, [&](std::size_t offset, std::size_t length) {
      const std::string_view address = std::string_view(text).substr(offset, length);
      const std::string target = PackNameOfAddress(name, address);
      if (target.empty())
        return;
      out.append(text, copied, offset - copied);
      out += DataUrl(target, address, depth);
      copied = offset + length;
    });
    out.append(text, copied);
    return out;
  }

  std::string DataUrl(const std::string &target, std::string_view written, int depth) {
    std::string bytes;
    if (!target.empty() && pack_.FileBytes(target, bytes))
      return Data(MimeTypeOf(target), bytes);
    if (!target.empty() && pack_.HasTemplate(target) && depth < kMaxDepth) {
      const std::string charset = ";charset=windows-1252";
      if (IsStyleSheetName(target))
        return Data("text/css" + charset,
                    StyleSheet(target, *pack_.TemplateText(target), depth + 1));
      return Data(MimeTypeOf(target) + charset, Page(target, depth + 1));
    }
    const std::string name = target.empty() ? std::string(written) : target;
    if (std::find(missing_.begin(), missing_.end(), name) == missing_.end())
      missing_.push_back(name);
    return std::string(written);
  }

  const TTemplateCatalogue &catalogue_;
  const TTemplatePack &pack_;
  const TPreviewOptions &options_;
  std::vector<std::string> missing_;
};

} // namespace

TInlinedPage InlinePreviewPage(const TTemplateCatalogue &catalogue, const TTemplatePack &pack,
                               std::string_view name, TPreviewOptions options) {
  TInliner inliner(catalogue, pack, options);
  TInlinedPage page;
  page.Html = inliner.Page(name, 0);
  page.Missing = inliner.TakeMissing();
  return page;
}
