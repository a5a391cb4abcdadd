#include "game/RecoveryEntry.h"

#include <charconv>
#include <map>

namespace {

constexpr std::string_view kFirstLine = "verdax-recovery 1";
constexpr std::string_view kFamily = "verdax-recovery ";
// A description is a few hundred bytes; an install folder is at most 1023.
constexpr std::size_t kMaxDescription = 64 * 1024;
constexpr std::size_t kReadableLetters = 24;

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string Escaped(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && c != '%') {
            text += c;
        } else {
            text += '%';
            text += kHexDigits[byte >> 4];
            text += kHexDigits[byte & 0xF];
        }
    }
    return text;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> Unescaped(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

template <class Number>
std::optional<Number> ParseNumber(std::string_view text, int base = 10)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string HexText(std::uint64_t value)
{
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = "0123456789abcdef"[value & 0xF];
    return text;
}

// The lines after the first, by key; the last of a key counts.
std::optional<std::map<std::string, std::string, std::less<>>> Fields(std::string_view body, std::string& failure)
{
    std::map<std::string, std::string, std::less<>> fields;
    int line = 1;
    while (!body.empty()) {
        ++line;
        const std::size_t end = std::min(body.find('\n'), body.size());
        const std::string_view text = body.substr(0, end);
        body.remove_prefix(std::min(end + 1, body.size()));
        if (text.empty())
            continue;
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            failure = "в описании строка " + std::to_string(line) + " без знака «=»";
            return std::nullopt;
        }
        fields.insert_or_assign(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
    }
    return fields;
}

class FieldReader {
public:
    FieldReader(const std::map<std::string, std::string, std::less<>>& fields, std::string& failure)
        : fields_(fields), failure_(failure)
    {
    }

    bool Text(std::string_view key, std::string& out)
    {
        const auto value = Find(key);
        if (!value)
            return false;
        auto bytes = Unescaped(*value);
        if (!bytes)
            return Fail(key);
        out = std::move(*bytes);
        return true;
    }

    template <class Number>
    bool Integer(std::string_view key, Number& out, int base = 10)
    {
        const auto value = Find(key);
        if (!value)
            return false;
        const auto number = ParseNumber<Number>(*value, base);
        if (!number)
            return Fail(key);
        out = *number;
        return true;
    }

private:
    std::optional<std::string_view> Find(std::string_view key)
    {
        const auto it = fields_.find(key);
        if (it == fields_.end()) {
            failure_ = "в описании нет поля «" + std::string(key) + "»";
            return std::nullopt;
        }
        return std::string_view(it->second);
    }
    bool Fail(std::string_view key)
    {
        failure_ = "в описании неверное поле «" + std::string(key) + "»";
        return false;
    }

    const std::map<std::string, std::string, std::less<>>& fields_;
    std::string& failure_;
};

bool ReadFields(FieldReader& read, RecoveryEntry& entry)
{
    return read.Text("install-folder", entry.installFolder) && read.Text("mission", entry.missionName) &&
           read.Integer("saved-at", entry.savedAt) && read.Integer("pid", entry.writer.pid) &&
           read.Integer("process-start", entry.writer.startTicks) && read.Text("boot-id", entry.writer.bootId) &&
           read.Integer("undo-steps", entry.undoSteps) && read.Text("copy", entry.copy) &&
           read.Integer("copy-size", entry.copySize) && read.Integer("copy-hash", entry.copyHash, 16);
}

std::string Checked(RecoveryEntry& entry)
{
    if (entry.copy != "a" && entry.copy != "b" && !entry.copy.empty())
        return "в описании неверное поле «copy»";
    if (entry.writer.pid <= 0)
        return "в описании неверное поле «pid»";
    if (entry.undoSteps < 0)
        return "в описании неверное поле «undo-steps»";
    return {};
}

}  // namespace

std::string FormatRecoveryDescription(const RecoveryEntry& entry)
{
    std::string text(kFirstLine);
    text += '\n';
    const auto line = [&text](std::string_view key, const std::string& value) {
        text.append(key).append("=").append(value).append("\n");
    };
    line("install-folder", Escaped(entry.installFolder));
    line("mission", Escaped(entry.missionName));
    line("saved-at", std::to_string(entry.savedAt));
    line("pid", std::to_string(entry.writer.pid));
    line("process-start", std::to_string(entry.writer.startTicks));
    line("boot-id", Escaped(entry.writer.bootId));
    line("undo-steps", std::to_string(entry.undoSteps));
    line("copy", Escaped(entry.copy));
    line("copy-size", std::to_string(entry.copySize));
    line("copy-hash", HexText(entry.copyHash));
    return text;
}

RecoveryDescriptionRead ParseRecoveryDescription(std::string_view text)
{
    RecoveryDescriptionRead read;
    if (text.size() > kMaxDescription) {
        read.failure = "описание длиннее " + std::to_string(kMaxDescription) + " байт";
        return read;
    }
    const std::string_view first = text.substr(0, std::min(text.find('\n'), text.size()));
    if (first != kFirstLine) {
        const auto version = first.starts_with(kFamily) ? ParseNumber<int>(first.substr(kFamily.size())) : std::nullopt;
        read.laterVersion = version && *version > 1;
        read.failure = "описание не начинается строкой «" + std::string(kFirstLine) + "»";
        return read;
    }
    auto fields = Fields(text.substr(std::min(first.size() + 1, text.size())), read.failure);
    if (!fields)
        return read;
    RecoveryEntry entry;
    FieldReader reader(*fields, read.failure);
    if (!ReadFields(reader, entry))
        return read;
    read.failure = Checked(entry);
    if (read.failure.empty())
        read.entry = std::move(entry);
    return read;
}

std::uint64_t RecoveryCopyHash(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string RecoverySlotName(std::string_view installFolder, std::string_view missionName, int alternate)
{
    std::string name;
    for (const char c : missionName.substr(0, kReadableLetters)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        name += plain ? c : '_';
    }
    if (name.empty())
        name = "mission";
    // The zero byte keeps ("ab", "c") apart from ("a", "bc").
    std::string both(installFolder);
    both += '\0';
    both.append(missionName);
    name += "-" + HexText(RecoveryCopyHash(both));
    if (alternate > 1)
        name += "-" + std::to_string(alternate);
    return name;
}
