#include "game/CObjectsPayload.h"

#include "core/CVerdaxException.h"
#include "game/CPayloadRefused.h"
#include "game/CodePageConversion.h"
#include "scene/CMemoryReadBuffer.h"

#include <algorithm>
#include <new>
#include <sstream>

namespace {

namespace section {
constexpr std::uint16_t kPayload = 0x4F56;
constexpr std::uint16_t kHeader = 0x0001;
constexpr std::uint16_t kThings = 0x4000;
constexpr std::uint16_t kThingData = 0xAE20;
constexpr std::uint16_t kMissionScripts = 0xAE50;
constexpr std::uint16_t kLinks = 0x4F4C;
constexpr std::uint16_t kRotations = 0x4F52;
}  // namespace section

constexpr std::uint32_t kHeaderSize = 14;
constexpr std::uint32_t kLinkBytes = 8;
constexpr std::uint32_t kRotationBytes = 16;

bool IsKnownCodePage(std::uint32_t codePage)
{
    return codePage == 1250 || codePage == 1251 || codePage == 1252;
}

// The three lists of a copy and its links, as pointers to the objects copied.
struct Sorted {
    std::vector<CSceneObjectThing*> things;
    std::vector<CSceneObjectThingData*> thingData;
    std::vector<CSceneObjectMissionScript*> missionScripts;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> links;

    std::uint32_t DataIndex(CSceneObjectThingData* data)
    {
        auto it = std::ranges::find(thingData, data);
        if (it == thingData.end())
            it = thingData.insert(it, data);
        return static_cast<std::uint32_t>(it - thingData.begin());
    }
};

Sorted Sort(const std::vector<CSceneObject*>& objects)
{
    Sorted sorted;
    for (CSceneObject* object : objects) {
        if (auto* thing = dynamic_cast<CSceneObjectThing*>(object)) {
            sorted.things.push_back(thing);
            if (CSceneObjectThingData* data = thing->GetLinkedData())
                sorted.links.emplace_back(static_cast<std::uint32_t>(sorted.things.size() - 1), sorted.DataIndex(data));
        } else if (auto* data = dynamic_cast<CSceneObjectThingData*>(object)) {
            sorted.DataIndex(data);
        } else if (auto* script = dynamic_cast<CSceneObjectMissionScript*>(object)) {
            sorted.missionScripts.push_back(script);
        }
    }
    return sorted;
}

// Every text of the objects from `from` into `to`; the first character `to` cannot
// hold refuses them all.
void Recode(CObjectsPayload::Objects& objects, int from, int to)
{
    const TextRecoder recode = [from, to](const std::string& text) {
        char32_t refused = 0;
        auto converted = RecodeText(text, from, to, &refused);
        if (!converted)
            throw CPayloadRefused::Unrepresentable(refused, to);
        return std::move(*converted);
    };
    for (auto& thing : objects.things)
        thing->RecodeTexts(recode);
    for (auto& data : objects.thingData)
        data->RecodeTexts(recode);
    for (auto& script : objects.missionScripts)
        script->RecodeTexts(recode);
}

}  // namespace

// Writing ----------------------------------------------------------------------

std::string CObjectsPayload::Write(const std::vector<CSceneObject*>& objects, int codePage)
{
    CObjectsPayload payload;
    return payload.WriteObjects(objects, codePage);
}

std::string CObjectsPayload::WriteObjects(const std::vector<CSceneObject*>& objects, int codePage)
{
    const Sorted sorted = Sort(objects);
    std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
    BindForWriting(stream);
    const auto start = BeginChunk(section::kPayload);
    std::uint32_t total = 6;
    total += WriteChunkHeader(section::kHeader, kHeaderSize) + WriteU32(kFormatVersion) +
             WriteU32(static_cast<std::uint32_t>(codePage));
    total += WriteList(section::kThings, sorted.things);
    total += WriteList(section::kThingData, sorted.thingData);
    total += WriteList(section::kMissionScripts, sorted.missionScripts);
    const auto links = static_cast<std::uint32_t>(sorted.links.size());
    total += WriteChunkHeader(section::kLinks, 10 + kLinkBytes * links) + WriteU32(links);
    for (const auto& [thing, data] : sorted.links)
        total += WriteU32(thing) + WriteU32(data);
    const auto things = static_cast<std::uint32_t>(sorted.things.size());
    total += WriteChunkHeader(section::kRotations, 10 + kRotationBytes * things) + WriteU32(things);
    for (const CSceneObjectThing* thing : sorted.things) {
        const AxisAngle r = thing->GetRotation();
        total += WriteF32(r.angle) + WriteF32(r.x) + WriteF32(r.y) + WriteF32(r.z);
    }
    EndChunk(start, total);
    if (!stream)
        throw CVerdaxException(VERDAX_ERR_WRITE);
    return std::move(stream).str();
}

template <class List>
std::uint32_t CObjectsPayload::WriteList(std::uint16_t id, const List& elements)
{
    const auto start = BeginChunk(id);
    std::uint32_t total = 6;
    for (CSceneObject* element : elements)
        total += element->Save(*BoundStream());
    EndChunk(start, total);
    return total;
}

// Reading ----------------------------------------------------------------------

CObjectsPayload::Objects CObjectsPayload::Read(std::string_view bytes, int codePage)
{
    CObjectsPayload payload;
    try {
        return payload.ReadObjects(bytes, codePage);
    } catch (const CPayloadRefused&) {
        throw;
    } catch (const CVerdaxException& error) {
        throw CPayloadRefused::Malformed(error.GetCode());
    } catch (const std::bad_alloc&) {
        throw CPayloadRefused::Malformed(VERDAX_ERR_MEMORY);
    } catch (...) {
        throw CPayloadRefused::Malformed(VERDAX_ERR_FOREIGN);
    }
}

CObjectsPayload::Objects CObjectsPayload::ReadObjects(std::string_view bytes, int codePage)
{
    CMemoryReadBuffer buffer;
    buffer.Reset(bytes);
    std::iostream stream(&buffer);
    BindForReading(stream);
    std::uint16_t id = 0;
    std::uint32_t size = 0;
    ReadU16(id);
    ReadU32(size);
    if (id != section::kPayload)
        throw CVerdaxException(VERDAX_ERR_CHUNK_ID);
    if (size > bytes.size())
        throw CVerdaxException(VERDAX_ERR_READ);
    if (size < bytes.size())
        throw CVerdaxException(VERDAX_ERR_CHUNK_LONG);  // bytes beyond the payload's own
    int writtenCodePage = 0;
    Objects objects;
    std::uint64_t consumed = 6 + ReadHeader(writtenCodePage);
    consumed += ReadList(section::kThings, objects.things);
    consumed += ReadList(section::kThingData, objects.thingData);
    consumed += ReadList(section::kMissionScripts, objects.missionScripts);
    consumed += ReadLinks(objects);
    consumed += ReadRotations(objects);
    if (consumed != size)
        throw CVerdaxException(VERDAX_ERR_CHUNK_SHORT);
    if (writtenCodePage != codePage)
        Recode(objects, writtenCodePage, codePage);
    return objects;
}

std::uint32_t CObjectsPayload::ReadHeader(int& codePage)
{
    std::uint32_t version = 0;
    std::uint32_t written = 0;
    if (ReadSectionSize(section::kHeader) != kHeaderSize)
        throw CVerdaxException(VERDAX_ERR_CHUNK_LONG);
    ReadU32(version);
    ReadU32(written);
    if (version != kFormatVersion || !IsKnownCodePage(written))
        throw CVerdaxException(VERDAX_ERR_CHUNK_ID);
    codePage = static_cast<int>(written);
    return kHeaderSize;
}

// The section `id` must come next; returns its size, at least its header's 6 bytes.
std::uint32_t CObjectsPayload::ReadSectionSize(std::uint16_t id)
{
    std::uint16_t read = 0;
    std::uint32_t size = 0;
    ReadU16(read);
    ReadU32(size);
    if (read != id)
        throw CVerdaxException(VERDAX_ERR_CHUNK_ID);
    if (size < 6)
        throw CVerdaxException(VERDAX_ERR_CHUNK_LONG);
    return size;
}

template <class Element>
std::uint32_t CObjectsPayload::ReadList(std::uint16_t id, std::vector<std::unique_ptr<Element>>& list)
{
    const std::uint32_t size = ReadSectionSize(id);
    std::uint64_t sum = 6;
    while (sum < size) {
        std::uint16_t elementId = 0;
        ReadU16(elementId);
        if (elementId != Element::kElementId)
            throw CVerdaxException(VERDAX_ERR_CHUNK_ID);
        if (++objectsRead_ > kMaxObjects)
            throw CVerdaxException(VERDAX_ERR_MEMORY);
        auto element = std::make_unique<Element>();
        sum += 2 + std::uint64_t{element->Load(*BoundStream())};
        list.push_back(std::move(element));
    }
    if (sum > size)
        throw CVerdaxException(VERDAX_ERR_CHUNK_LONG);
    return size;
}

std::uint32_t CObjectsPayload::ReadLinks(Objects& objects)
{
    const std::uint32_t count = ReadCountedSection(section::kLinks, kLinkBytes);
    std::vector<bool> dataLinked(objects.thingData.size(), false);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t thing = 0;
        std::uint32_t data = 0;
        ReadU32(thing);
        ReadU32(data);
        if (thing >= objects.things.size() || data >= objects.thingData.size() || dataLinked[data] ||
            objects.things[thing]->GetLinkedData())
            throw CVerdaxException(VERDAX_ERR_CHUNK_ID);
        dataLinked[data] = true;
        objects.things[thing]->SetLinkedData(objects.thingData[data].get());
    }
    return 10 + kLinkBytes * count;
}

std::uint32_t CObjectsPayload::ReadRotations(Objects& objects)
{
    const std::uint32_t count = ReadCountedSection(section::kRotations, kRotationBytes);
    if (count != objects.things.size())
        throw CVerdaxException(VERDAX_ERR_CHUNK_ID);
    for (const auto& thing : objects.things) {
        AxisAngle rotation;
        ReadF32(rotation.angle);
        ReadF32(rotation.x);
        ReadF32(rotation.y);
        ReadF32(rotation.z);
        if (thing->GetPresence().rotation)
            thing->SetRotation(rotation);
    }
    return 10 + kRotationBytes * count;
}

// A section of a u32 count and that many records of `recordBytes`; returns the count.
std::uint32_t CObjectsPayload::ReadCountedSection(std::uint16_t id, std::uint32_t recordBytes)
{
    const std::uint32_t size = ReadSectionSize(id);
    std::uint32_t count = 0;
    ReadU32(count);
    const std::uint64_t expected = 10 + std::uint64_t{recordBytes} * count;
    if (expected != size)
        throw CVerdaxException(expected < size ? VERDAX_ERR_CHUNK_SHORT : VERDAX_ERR_CHUNK_LONG);
    if (!HasRemaining(expected - 10))
        throw CVerdaxException(VERDAX_ERR_READ);
    return count;
}
