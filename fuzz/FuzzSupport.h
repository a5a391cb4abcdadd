#pragma once
// What the fuzz targets share: a sink that keeps the optimiser from dropping what a
// reader produced, a presenter that shows nothing, and a scratch folder for readers
// that take a file path.

#include "platform/MessagePresenter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz {

// Folds `value` into a volatile sum.
void Consume(std::uint64_t value);
void Consume(std::string_view bytes);
// By its bits: a float from hostile bytes may be anything, NaN included.
void ConsumeFloat(float value);

// Errors raised with a text would print every message; the fuzzers show none.
class SilentPresenter final : public platform::IMessagePresenter {
public:
    void ShowText(std::string_view text) override { Consume(text.size()); }
    void ShowMessage(int id, std::string_view) override { Consume(static_cast<std::uint64_t>(id)); }
};

// A folder of this process in the temporary folder, made on first use and removed
// at exit.
const std::filesystem::path& ScratchFolder();

// Writes `bytes` to `relative` under the scratch folder and returns the Linux path.
std::filesystem::path WriteScratchFile(const std::string& relative, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
