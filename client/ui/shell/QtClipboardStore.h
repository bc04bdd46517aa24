#pragma once
// The system clipboard behind IClipboardStore: each block goes under the MIME
// type named after its format ("CorvantaPerformance" becomes
// "application/x-corvantaperformance"), its plain-text form as text/plain, so
// that other programs can paste it too.
#include "client/localmedia/PerformanceClip.h"

#include <QString>

class CQtClipboardStore : public IClipboardStore {
public:
    /// The MIME type a block of format travels under.
    static QString MimeType(std::string_view format);

    bool SetData(std::string_view format, std::vector<std::uint8_t> data, std::string_view text) override;
    std::optional<std::vector<std::uint8_t>> GetData(std::string_view format) const override;
};
