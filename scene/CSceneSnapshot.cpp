#include "scene/CSceneSnapshot.h"

#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint16_t kSceneChunk = 0x4C53;
constexpr std::array<std::uint16_t, 3> kListIds{0x4000, 0xAE20, 0xAE50};
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kChunkHeader = 6;
// A thing data's data chunk; for the kinds that hold a script, the bytes before the
// script's counted text: two u32 and a u16 (kind 5), 79 bytes (kind 27).
constexpr std::uint16_t kThingDataChunk = 0xAE24;
constexpr std::size_t kScriptKindFixedBytes = 10;
constexpr std::size_t kTextKindFixedBytes = 79;
// Written in place of a length for a chunk kept only by its presence.
constexpr std::uint32_t kPresenceOnly = 0xFFFFFFFF;

std::uint16_t U16At(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::uint32_t U32At(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(U16At(bytes, at)) | static_cast<std::uint32_t>(U16At(bytes, at + 2)) << 16;
}

enum class ChunkUse { kContent, kPresence, kLeftOut };

// The name, kind and model name are fields; the transform and the sector are
// fields whose chunks some kinds write only when they were read.
ChunkUse ThingChunkUse(std::uint16_t id)
{
    switch (id) {
    case 0x0010:
    case 0x4011:
    case 0x2012:
        return ChunkUse::kLeftOut;
    case 0x0020:
    case 0x0022:
    case 0x002D:
    case 0x4020:
        return ChunkUse::kPresence;
    default:
        return ChunkUse::kContent;
    }
}

// The kind and the name are fields; the data chunk is data up to its script.
ChunkUse ThingDataChunkUse(std::uint16_t id)
{
    return id == 0xAE22 || id == 0xAE23 ? ChunkUse::kLeftOut : ChunkUse::kContent;
}

std::size_t DataBytesBeforeScript(std::int32_t kind)
{
    if (kind == CSceneObjectThingData::kScriptKind)
        return kScriptKindFixedBytes;
    if (kind == CSceneObjectThingData::kTextKind)
        return kTextKindFixedBytes;
    return kNone;
}

// The lists of another owner, for writing them; nothing is read into it.
class CListsOf final : public ISceneFileOwner {
public:
    explicit CListsOf(const ISceneFileOwner& lists) : lists_(lists) {}
    std::string GetFolder() const override { return lists_.GetFolder(); }
    void AddThing(std::unique_ptr<CSceneObjectThing>) override {}
    void AddThingData(std::unique_ptr<CSceneObjectThingData>) override {}
    void AddMissionScript(std::unique_ptr<CSceneObjectMissionScript>) override {}
    const std::vector<std::unique_ptr<CSceneObjectThing>>& GetThings() const override { return lists_.GetThings(); }
    const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const override
    {
        return lists_.GetThingData();
    }
    const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const override
    {
        return lists_.GetMissionScripts();
    }

private:
    const ISceneFileOwner& lists_;
};

}  // namespace

// Holds the objects read, and where in the file each one's element ended: the read
// position as it is handed over.
class CSceneSnapshot::CObjectOwner final : public ISceneFileOwner {
public:
    explicit CObjectOwner(const CMemoryReadBuffer& buffer) : buffer_(buffer) {}

    void Reset(std::size_t fileSize)
    {
        fileSize_ = fileSize;
        things_.clear();
        thingData_.clear();
        scripts_.clear();
        for (auto& ends : ends_)
            ends.clear();
    }

    const std::vector<std::size_t>& Ends(SceneList list) const { return ends_[Slot(list)]; }

    std::string GetFolder() const override { return {}; }
    void AddThing(std::unique_ptr<CSceneObjectThing> thing) override
    {
        Ended(SceneList::kThings);
        things_.push_back(std::move(thing));
    }
    void AddThingData(std::unique_ptr<CSceneObjectThingData> data) override
    {
        Ended(SceneList::kThingData);
        thingData_.push_back(std::move(data));
    }
    void AddMissionScript(std::unique_ptr<CSceneObjectMissionScript> script) override
    {
        Ended(SceneList::kMissionScripts);
        scripts_.push_back(std::move(script));
    }
    const std::vector<std::unique_ptr<CSceneObjectThing>>& GetThings() const override { return things_; }
    const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const override { return thingData_; }
    const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const override
    {
        return scripts_;
    }

private:
    void Ended(SceneList list) { ends_[Slot(list)].push_back(fileSize_ - buffer_.Remaining()); }

    const CMemoryReadBuffer& buffer_;
    std::size_t fileSize_ = 0;
    std::vector<std::unique_ptr<CSceneObjectThing>> things_;
    std::vector<std::unique_ptr<CSceneObjectThingData>> thingData_;
    std::vector<std::unique_ptr<CSceneObjectMissionScript>> scripts_;
    std::array<std::vector<std::size_t>, 3> ends_;
};

CSceneSnapshot::CSceneSnapshot() : objects_(std::make_unique<CObjectOwner>(readBuffer_))
{
    file_.SetOwner(objects_.get());
}

CSceneSnapshot::~CSceneSnapshot() = default;

void CSceneSnapshot::Read(std::string_view file)
{
    Clear();
    // The block holds about what the file does (each object's texts and data, the
    // sections): reserved at once, it is not copied while it grows.
    block_.reserve(file.size());
    try {
        ReadObjects(file);
        FindSections(file);
        RecordObjects(file);
    } catch (...) {
        Clear();
        throw;
    }
}

void CSceneSnapshot::Clear()
{
    namesIndexed_ = false;
    for (std::size_t slot = 0; slot < records_.size(); ++slot) {
        firstByName_[slot].clear();
        nextSameName_[slot].clear();
        records_[slot].clear();
        listSections_[slot].clear();
    }
    block_.clear();
    headerText_ = {};
    headerWord1_ = 0;
    headerWord2_ = 0;
    sections_ = {};
    objects_->Reset(0);
}

void CSceneSnapshot::DropObjects()
{
    objects_->Reset(0);
}

void CSceneSnapshot::ReadObjects(std::string_view file)
{
    objects_->Reset(file.size());
    readBuffer_.Reset(file);
    readStream_.clear();
    file_.ReadFrom(readStream_);
    headerWord1_ = file_.GetHeaderWord1();
    headerWord2_ = file_.GetHeaderWord2();
    headerText_ = Keep(file_.GetHeaderText());
}

// The top level of a file the readers accepted, walked as they walk it: a scene
// chunk counts only its header, every other chunk used exactly its declared size,
// and the walk ends once the scene chunk's size is used up.
void CSceneSnapshot::FindSections(std::string_view file)
{
    std::uint64_t total = 0;
    std::uint64_t consumed = 0;
    std::size_t at = 0;
    do {
        if (file.size() - at < kChunkHeader)
            return;
        const std::uint16_t id = U16At(file, at);
        const std::uint32_t size = U32At(file, at + 2);
        if (id == kSceneChunk) {
            total = size;
            consumed += kChunkHeader;
            at += kChunkHeader;
            continue;
        }
        if (size < kChunkHeader || size > file.size() - at)
            return;
        const ElementRange content{at + kChunkHeader, at + size};
        if (const auto list = std::ranges::find(kListIds, id); list != kListIds.end())
            listSections_[static_cast<std::size_t>(list - kListIds.begin())].push_back(content);
        else if (const auto section = std::ranges::find(kSectionIds, id); section != kSectionIds.end())
            sections_[static_cast<std::size_t>(section - kSectionIds.begin())] =
                Keep(file.substr(content.begin, content.end - content.begin));
        consumed += size;
        at += size;
    } while (consumed < total);
}

// The elements of a list section follow one another: each begins where the one
// before it in the same section ended, the first where the section's content does.
std::vector<CSceneSnapshot::ElementRange> CSceneSnapshot::ElementRanges(SceneList list) const
{
    const auto& sections = listSections_[Slot(list)];
    std::vector<ElementRange> ranges;
    ranges.reserve(objects_->Ends(list).size());
    std::size_t section = 0;
    std::size_t previousEnd = 0;
    for (const std::size_t end : objects_->Ends(list)) {
        while (section < sections.size() && end > sections[section].end)
            ++section;
        if (section == sections.size())
            return {};  // not as the readers read it; cannot happen for a file they accepted
        const std::size_t begin = previousEnd >= sections[section].begin ? previousEnd : sections[section].begin;
        ranges.push_back({begin, end});
        previousEnd = end;
    }
    return ranges;
}

void CSceneSnapshot::RecordObjects(std::string_view file)
{
    RecordThings(file, ElementRanges(SceneList::kThings));
    RecordThingData(file, ElementRanges(SceneList::kThingData));
    RecordMissionScripts();
}

namespace {

std::string_view ElementBytes(std::string_view file, std::span<const CSceneSnapshot::ElementRange> ranges,
                              std::size_t i)
{
    return i < ranges.size() ? file.substr(ranges[i].begin, ranges[i].end - ranges[i].begin) : std::string_view();
}

}  // namespace

void CSceneSnapshot::RecordThings(std::string_view file, std::span<const ElementRange> ranges)
{
    const auto& objects = objects_->GetThings();
    auto& records = records_[Slot(SceneList::kThings)];
    records.reserve(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const CSceneObjectThing& thing = *objects[i];
        SceneObjectRecord& r = records.emplace_back();
        r.name = Keep(thing.GetName());
        r.model = Keep(thing.GetModelName());
        r.sector = Keep(thing.GetSectorName());
        r.kind = thing.GetKind();
        const Vector3 t = thing.GetTranslation();
        const AxisAngle a = thing.GetRotation();
        const Vector3 s = thing.GetScale();
        r.translation = {t.x, t.y, t.z};
        r.rotation = {a.angle, a.x, a.y, a.z};
        r.scale = {s.x, s.y, s.z};
        r.data = KeepElementData(SceneList::kThings, ElementBytes(file, ranges, i), kNone);
    }
}

void CSceneSnapshot::RecordThingData(std::string_view file, std::span<const ElementRange> ranges)
{
    const auto& objects = objects_->GetThingData();
    auto& records = records_[Slot(SceneList::kThingData)];
    records.reserve(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const CSceneObjectThingData& data = *objects[i];
        SceneObjectRecord& r = records.emplace_back();
        r.name = Keep(data.GetName());
        r.kind = data.GetKind();
        r.script = Keep(data.GetScript());
        r.data = KeepElementData(SceneList::kThingData, ElementBytes(file, ranges, i), DataBytesBeforeScript(r.kind));
    }
}

void CSceneSnapshot::RecordMissionScripts()
{
    auto& records = records_[Slot(SceneList::kMissionScripts)];
    records.reserve(objects_->GetMissionScripts().size());
    for (const auto& script : objects_->GetMissionScripts()) {
        SceneObjectRecord& r = records.emplace_back();
        r.name = Keep(script->GetName());
        r.script = Keep(script->GetScript());
        const char flag = static_cast<char>(script->GetFlag());
        r.data = Keep(std::string_view(&flag, 1));
    }
}

SceneBytesSpan CSceneSnapshot::Keep(std::string_view bytes)
{
    const SceneBytesSpan span{block_.size(), bytes.size()};
    block_.append(bytes);
    return span;
}

// The element's inner chunks as data, sorted by id (a later chunk of the same id
// after an earlier one); see the header. `beforeScript` is how much of a thing
// data's data chunk comes before its script (kNone: all of it is data). Inner
// sizes that do not fit the element end the walk: the rest is kept as it is.
SceneBytesSpan CSceneSnapshot::KeepElementData(SceneList list, std::string_view element, std::size_t beforeScript)
{
    chunks_.clear();
    std::size_t at = std::min(kChunkHeader, element.size());
    while (at < element.size()) {
        const std::size_t left = element.size() - at;
        const std::uint16_t id = left >= 2 ? U16At(element, at) : 0xFFFF;
        const std::uint32_t size = left >= kChunkHeader ? U32At(element, at + 2) : 0;
        if (size < kChunkHeader || size > left) {
            chunks_.push_back({id, chunks_.size(), element.substr(at), false});
            break;
        }
        std::string_view content = element.substr(at + kChunkHeader, size - kChunkHeader);
        const ChunkUse use = list == SceneList::kThings ? ThingChunkUse(id) : ThingDataChunkUse(id);
        if (id == kThingDataChunk && list == SceneList::kThingData)
            content = content.substr(0, beforeScript);
        if (use != ChunkUse::kLeftOut)
            chunks_.push_back({id, chunks_.size(), content, use == ChunkUse::kPresence});
        at += size;
    }
    std::ranges::sort(chunks_, [](const auto& a, const auto& b) { return a.id != b.id ? a.id < b.id : a.order < b.order; });
    const std::size_t begin = block_.size();
    for (const auto& chunk : chunks_) {
        const std::uint32_t length = chunk.presenceOnly ? kPresenceOnly : static_cast<std::uint32_t>(chunk.content.size());
        const char header[6] = {static_cast<char>(chunk.id & 0xFF), static_cast<char>(chunk.id >> 8),
                                static_cast<char>(length & 0xFF),   static_cast<char>((length >> 8) & 0xFF),
                                static_cast<char>((length >> 16) & 0xFF), static_cast<char>(length >> 24)};
        block_.append(header, sizeof header);
        if (!chunk.presenceOnly)
            block_.append(chunk.content);
    }
    return {begin, block_.size() - begin};
}

// Made at the first look-up: of the two files compared, only the one before is
// looked up by name, and the one after is read again after every edit.
void CSceneSnapshot::IndexNames() const
{
    namesIndexed_ = true;
    for (const SceneList list : kSceneLists) {
        const auto& records = records_[Slot(list)];
        auto& first = firstByName_[Slot(list)];
        auto& next = nextSameName_[Slot(list)];
        first.reserve(records.size());
        next.assign(records.size(), kNone);
        // From the last to the first, so that each name's chain runs in list order.
        for (std::size_t i = records.size(); i-- > 0;) {
            const auto [entry, isFirst] = first.try_emplace(Bytes(records[i].name), i);
            if (!isFirst) {
                next[i] = entry->second;
                entry->second = i;
            }
        }
    }
}

std::optional<std::size_t> CSceneSnapshot::FirstNamed(SceneList list, std::string_view name) const
{
    if (!namesIndexed_)
        IndexNames();
    const auto& first = firstByName_[Slot(list)];
    const auto found = first.find(name);
    return found == first.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

std::optional<std::size_t> CSceneSnapshot::NextNamed(SceneList list, std::size_t index) const
{
    if (!namesIndexed_)
        IndexNames();
    const std::size_t next = nextSameName_[Slot(list)][index];
    return next == kNone ? std::nullopt : std::optional<std::size_t>(next);
}

std::optional<std::string_view> CSceneSnapshot::Section(std::uint16_t id) const
{
    const auto found = std::ranges::find(kSectionIds, id);
    if (found == kSectionIds.end())
        return std::nullopt;
    const auto& span = sections_[static_cast<std::size_t>(found - kSectionIds.begin())];
    return span ? std::optional<std::string_view>(Bytes(*span)) : std::nullopt;
}

std::string_view CSceneSnapshot::Write()
{
    return WriteWith(*objects_);
}

std::string_view CSceneSnapshot::Write(const ISceneFileOwner& lists)
{
    CListsOf owner(lists);
    return WriteWith(owner);
}

std::string_view CSceneSnapshot::WriteWith(ISceneFileOwner& owner)
{
    // Room for the last file written and some more, for what edits add.
    const std::size_t expected = writeBuffer_.View().size();
    writeBuffer_.Reset(expected + expected / 8);
    writeStream_.clear();
    file_.SetOwner(&owner);
    try {
        file_.WriteTo(writeStream_);
    } catch (...) {
        file_.SetOwner(objects_.get());
        throw;
    }
    file_.SetOwner(objects_.get());
    return writeBuffer_.View();
}
