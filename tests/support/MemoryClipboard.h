#pragma once
// A clipboard in memory for the code that copies and pastes performances:
// every block kept by its format, and the last plain-text form.
#include "client/localmedia/PerformanceClip.h"

#include <map>
#include <string>

class CMemoryClipboard : public IClipboardStore {
public:
    bool SetData(std::string_view format, std::vector<std::uint8_t> data, std::string_view plainText) override
    {
        blocks[std::string(format)] = std::move(data);
        text = plainText;
        return true;
    }
    std::optional<std::vector<std::uint8_t>> GetData(std::string_view format) const override
    {
        const auto found = blocks.find(std::string(format));
        if (found == blocks.end())
            return std::nullopt;
        return found->second;
    }
    std::map<std::string, std::vector<std::uint8_t>> blocks;
    std::string text;
};
