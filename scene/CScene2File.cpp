#include "scene/CScene2File.h"

#include "core/CVerdaxException.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/FileReplacement.h"
#include "scene/ISceneFileOwner.h"

#include <cstring>
#include <new>

namespace {

namespace section {
constexpr std::uint16_t kScene = 0x4C53;
constexpr std::uint16_t kHeader = 0x0001;
constexpr std::uint16_t kAFFF = 0xAFFF;
constexpr std::uint16_t k3200 = 0x3200;
constexpr std::uint16_t k3010 = 0x3010;
constexpr std::uint16_t k3011 = 0x3011;
constexpr std::uint16_t k3211 = 0x3211;
constexpr std::uint16_t kThings = 0x4000;
constexpr std::uint16_t kThingData = 0xAE20;
constexpr std::uint16_t kAE02 = 0xAE02;
constexpr std::uint16_t kMissionScripts = 0xAE50;
}  // namespace section

// The header chunk's own bytes besides its text: chunk header and two words.
constexpr std::uint32_t kHeaderFixedBytes = 10;

// The part of the file held at once while it is read (more when one read asks for
// more).
constexpr std::size_t kReadWindow = 1 << 17;

static_assert(CScene2File::kHeaderMarker.size() == 36);
static_assert(CScene2File::kHeaderBanner.size() == 76);

}  // namespace

CScene2File::CScene2File()
{
    BindForReading(image_);
}

CScene2File::~CScene2File() = default;

// Reading ----------------------------------------------------------------------

void CScene2File::Read()
{
    if (!owner_)
        throw CVerdaxException(VERDAX_ERR_OPEN_READ);
    const auto path = platform::FileSystem().Resolve(owner_->GetFolder() + std::string(kFileName));
    // Read from memory, a window of the file at a time: per-field reads from a file
    // stream are many times slower than from memory, and the file held whole would
    // pass through as much fresh memory as it holds.
    const COpenedFile file(path);
    imageBuffer_.ResetFromFile(file.Descriptor(), file.Identity().size, kReadWindow);
    image_.clear();
    expectedBytes_ = static_cast<std::size_t>(file.Identity().size);
    try {
        ReadFrom(image_);
    } catch (...) {
        ReleaseImage();
        throw;
    }
    ReleaseImage();  // the objects hold what they need
}

void CScene2File::ReleaseImage()
{
    imageBuffer_.Reset({});
}

void CScene2File::ReadFrom(std::iostream& stream)
{
    ClearContent();
    BindForReading(stream);
    try {
        if (!owner_)
            throw CVerdaxException(VERDAX_ERR_READ);
        ReadSections();
    } catch (const CVerdaxException&) {
        ClearContent();
        throw;
    } catch (...) {
        ClearContent();
        throw CVerdaxException(VERDAX_ERR_FOREIGN, FilePositionText());
    }
    if (stream.bad()) {
        ClearContent();
        throw CVerdaxException(VERDAX_ERR_STREAM_CLOSE, FilePositionText());
    }
}

void CScene2File::ClearContent()
{
    headerWord1_ = 0;
    headerWord2_ = 0;
    headerText_.clear();
    dataAFFF_ = {};
    data3200_ = {};
    value3010_ = 0;
    value3011_ = 0;
    data3211_ = {};
    dataAE02_.clear();
    hasAE02_ = false;
}

// A file that does not begin with the scene chunk is read as that one first chunk:
// the walk stops once the scene chunk's size is used up, and that size is 0 until
// a scene chunk is met.
void CScene2File::ReadSections()
{
    std::uint64_t total = 0;
    std::uint64_t consumed = 0;
    do {
        std::uint16_t id = 0;
        std::uint32_t size = 0;
        ReadU16(id);
        ReadU32(size);
        if (id == section::kScene) {
            // Its content is the following chunks: only its header counts here.
            total = size;
            consumed += 6;
            continue;
        }
        const std::uint64_t used = 6 + ReadSection(id, size);
        if (used < size)
            throw CVerdaxException(VERDAX_ERR_CHUNK_SHORT, FilePositionText());
        if (used > size)
            throw CVerdaxException(VERDAX_ERR_CHUNK_LONG, FilePositionText());
        consumed += used;
    } while (consumed < total);
}

// Returns the bytes of the section after its 6-byte header.
std::uint64_t CScene2File::ReadSection(std::uint16_t id, std::uint32_t size)
{
    switch (id) {
    case section::kHeader:
        return ReadHeader(size);
    case section::kAFFF:
        return ReadBytes(dataAFFF_);
    case section::k3200:
        return ReadBytes(data3200_);
    case section::k3010:
        return ReadU32(value3010_);
    case section::k3011:
        return ReadU32(value3011_);
    case section::k3211:
        return ReadBytes(data3211_);
    case section::kAE02:
        return ReadDataAE02(size);
    case section::kThings:
        return ReadList<CSceneObjectThing>(size, [this](auto thing) { owner_->AddThing(std::move(thing)); });
    case section::kThingData:
        return ReadList<CSceneObjectThingData>(size, [this](auto data) { owner_->AddThingData(std::move(data)); });
    case section::kMissionScripts:
        return ReadList<CSceneObjectMissionScript>(size,
                                                   [this](auto script) { owner_->AddMissionScript(std::move(script)); });
    default:
        throw CVerdaxException(VERDAX_ERR_CHUNK_ID, FilePositionText());
    }
}

// A text length that the declared size cannot hold, or that the file cannot, is a
// format error of the section rather than a huge allocation.
std::uint64_t CScene2File::ReadHeader(std::uint32_t size)
{
    std::uint64_t consumed = ReadU16(headerWord1_) + ReadU16(headerWord2_);
    if (size < kHeaderFixedBytes)
        throw CVerdaxException(VERDAX_ERR_CHUNK_LONG, FilePositionText());
    const std::uint32_t length = size - kHeaderFixedBytes;
    if (!HasRemaining(length))
        throw CVerdaxException(VERDAX_ERR_CHUNK_SHORT, FilePositionText());
    return consumed + ReadString(headerText_, length);
}

std::uint64_t CScene2File::ReadDataAE02(std::uint32_t size)
{
    hasAE02_ = true;
    if (size < 6)
        throw CVerdaxException(VERDAX_ERR_CHUNK_LONG, FilePositionText());
    if (!HasRemaining(size - 6))
        throw CVerdaxException(VERDAX_ERR_CHUNK_SHORT, FilePositionText());
    dataAE02_.assign(size - 6, 0);
    return ReadBytes(dataAE02_);
}

template <class Element, class Handoff>
std::uint64_t CScene2File::ReadList(std::uint32_t size, Handoff handoff)
{
    std::uint64_t sum = 0;
    while (sum + 6 < size) {  // sum < size - 6, without wrapping below 6
        std::uint16_t id = 0;
        ReadU16(id);
        if (id != Element::kElementId)
            throw CVerdaxException(VERDAX_ERR_CHUNK_ID, FilePositionText());
        auto element = std::unique_ptr<Element>(new (std::nothrow) Element());
        if (!element)
            throw CVerdaxException(VERDAX_ERR_MEMORY, FilePositionText());
        const std::uint32_t loaded = element->Load(*BoundStream());
        handoff(std::move(element));
        sum += 2 + std::uint64_t{loaded};
    }
    return sum;
}

// Writing ----------------------------------------------------------------------

void CScene2File::Write()
{
    if (!owner_)
        throw CVerdaxException(VERDAX_ERR_OPEN_WRITE);
    const auto path =
        platform::FileSystem().Resolve(owner_->GetFolder() + std::string(kFileName) + std::string(kOutputSuffix));
    // Room for the whole file from the start, with some to spare for what edits add:
    // the bytes are then never moved while the file grows.
    output_.Reset(expectedBytes_ + expectedBytes_ / 8);
    outputStream_.clear();
    try {
        WriteTo(outputStream_);
    } catch (...) {
        output_.Release();
        throw;
    }
    const FileReplacement replacement = ReplaceFileContent(path, output_.View());
    const std::string position = FilePositionText();
    expectedBytes_ = output_.View().size();
    output_.Release();
    // The code says which step failed; the text names the file (a Linux path, in UTF-8)
    // and the system's reason.
    const std::string reason =
        platform::FromUtf8(path.string()) + ": " + std::strerror(replacement.systemError);
    switch (replacement.result) {
    case FileReplacementResult::kDone:
        return;
    case FileReplacementResult::kCannotCreate:
    case FileReplacementResult::kCannotRename:
        throw CVerdaxException(VERDAX_ERR_OPEN_WRITE, reason);
    case FileReplacementResult::kWriteFailed:
        throw CVerdaxException(VERDAX_ERR_WRITE, reason);
    case FileReplacementResult::kCloseFailed:
        throw CVerdaxException(VERDAX_ERR_STREAM_CLOSE, position + "\n" + reason);
    }
}

void CScene2File::WriteTo(std::iostream& stream)
{
    BindForWriting(stream);
    try {
        if (!owner_)
            throw CVerdaxException(VERDAX_ERR_WRITE);
        WriteSections();
    } catch (const CVerdaxException&) {
        throw;
    } catch (...) {
        throw CVerdaxException(VERDAX_ERR_FOREIGN, FilePositionText());
    }
    if (!stream)
        throw CVerdaxException(VERDAX_ERR_STREAM_CLOSE, FilePositionText());
}

void CScene2File::WriteSections()
{
    const auto scene = BeginChunk(section::kScene);
    std::uint32_t total = 6;
    total += WriteHeader();
    total += WriteChunkBytes(section::kAFFF, dataAFFF_);
    total += WriteChunkBytes(section::k3200, data3200_);
    total += WriteChunkU32(section::k3010, value3010_);
    total += WriteChunkU32(section::k3011, value3011_);
    total += WriteChunkBytes(section::k3211, data3211_);
    total += WriteList(section::kThings, owner_->GetThings());
    total += WriteList(section::kThingData, owner_->GetThingData());
    if (hasAE02_)
        total += WriteChunkBytes(section::kAE02, dataAE02_);
    total += WriteList(section::kMissionScripts, owner_->GetMissionScripts());
    EndChunk(scene, total);
}

std::uint32_t CScene2File::WriteHeader()
{
    headerText_ = std::string(kHeaderMarker) + std::string(kHeaderBanner);
    const auto size = static_cast<std::uint32_t>(headerText_.size() + kHeaderFixedBytes + 1);
    return WriteU16(section::kHeader) + WriteU32(size) + WriteU16(headerWord1_) + WriteU16(headerWord2_) +
           WriteString(headerText_, true);
}

template <class List>
std::uint32_t CScene2File::WriteList(std::uint16_t id, const List& elements)
{
    const auto start = BeginChunk(id);
    std::uint32_t total = 6;
    for (const auto& element : elements)
        total += element->Save(*BoundStream());
    EndChunk(start, total);
    return total;
}
