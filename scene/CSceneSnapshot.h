#pragma once
// What one scene file holds, as an object-level comparison needs it: every object
// of the three lists with its fields, the header, and the sections outside the
// lists. The file is read by the scene file's own readers (CScene2File and the
// object classes) into objects that load no models; their fields are then kept
// apart from the objects, in one block of bytes, so that a comparison is a walk over
// plain records.
//
// An object's "data" is everything else its element holds in the file, as bytes
// that compare equal exactly when the elements hold the same: the element's inner
// chunks in the order of their ids, except those of the fields (the name, the kind,
// the model name; a thing data's script, the counted text that ends its data
// chunk), and the transform chunks and the sector block by whether they are there
// (their values are fields). A mission script's data is its flag.
//
// Reading again reuses the memory of the last read, so that a snapshot taken after
// every edit costs no fresh memory once it has reached its size.

#include "scene/CMemoryReadBuffer.h"
#include "scene/CMemoryWriteBuffer.h"
#include "scene/CScene2File.h"
#include "scene/ISceneFileOwner.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

enum class SceneList : std::uint8_t { kThings, kThingData, kMissionScripts };
inline constexpr std::array<SceneList, 3> kSceneLists{SceneList::kThings, SceneList::kThingData,
                                                      SceneList::kMissionScripts};

// Bytes of a snapshot's block.
struct SceneBytesSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// One object's fields. Fields an object does not have are empty or zero: a thing
// has no script of its own, thing data and mission scripts no transform, model or
// sector, a mission script no kind.
struct SceneObjectRecord {
    SceneBytesSpan name;
    SceneBytesSpan model;
    SceneBytesSpan sector;
    SceneBytesSpan script;
    SceneBytesSpan data;
    std::int32_t kind = 0;
    std::array<float, 3> translation{};
    std::array<float, 4> rotation{};  // angle in degrees, then the axis
    std::array<float, 3> scale{};
};

class CSceneSnapshot {
public:
    // The sections outside the lists and the header, in the order a file is written.
    static constexpr std::array<std::uint16_t, 6> kSectionIds{0xAFFF, 0x3200, 0x3010, 0x3011, 0x3211, 0xAE02};

    CSceneSnapshot();
    ~CSceneSnapshot();
    CSceneSnapshot(const CSceneSnapshot&) = delete;
    CSceneSnapshot& operator=(const CSceneSnapshot&) = delete;

    // Reads the whole scene file held in `file`. Throws the readers' CVerdaxException
    // (3005, 4000, 4001, 4002, 6007, ...); a failed read leaves the snapshot empty.
    // The objects read are kept until the next Read, for Write.
    void Read(std::string_view file);

    // Gives back the memory of the objects last read, keeping the records, the header
    // and the sections: for a snapshot that is compared and not written. Write then
    // writes lists without objects until the next Read.
    void DropObjects();

    // The objects last read written anew with the header and sections read: what a
    // save of a mission read from this file writes while nothing is edited.
    std::string_view Write();
    // `lists`' objects written with the header and sections read: what a save of a
    // mission read from this file writes. The bytes of either Write stay valid until
    // the next Read or Write.
    std::string_view Write(const ISceneFileOwner& lists);

    std::size_t Count(SceneList list) const { return records_[Slot(list)].size(); }
    const SceneObjectRecord& Record(SceneList list, std::size_t index) const { return records_[Slot(list)][index]; }
    std::string_view Bytes(SceneBytesSpan span) const
    {
        return std::string_view(block_).substr(span.offset, span.length);
    }

    // The first object of `list` named `name`, and the next object of the same name
    // after `index`; none when there is none. The names are indexed at the first call
    // after a Read.
    std::optional<std::size_t> FirstNamed(SceneList list, std::string_view name) const;
    std::optional<std::size_t> NextNamed(SceneList list, std::size_t index) const;

    std::uint16_t GetHeaderWord1() const { return headerWord1_; }
    std::uint16_t GetHeaderWord2() const { return headerWord2_; }
    std::string_view GetHeaderText() const { return Bytes(headerText_); }
    // The content of section `id` (one of kSectionIds) as the file holds it; none when
    // the file has no such section. Of a section that comes twice, the later one.
    std::optional<std::string_view> Section(std::uint16_t id) const;

    // Where an element lies in the file read.
    struct ElementRange {
        std::size_t begin = 0;
        std::size_t end = 0;
    };

private:
    class CObjectOwner;
    // An inner chunk of an element on its way into the data.
    struct DataChunk {
        std::uint16_t id = 0;
        std::size_t order = 0;
        std::string_view content;
        bool presenceOnly = false;
    };

    static std::size_t Slot(SceneList list) { return static_cast<std::size_t>(list); }
    void Clear();
    void ReadObjects(std::string_view file);
    void FindSections(std::string_view file);
    std::vector<ElementRange> ElementRanges(SceneList list) const;
    void RecordObjects(std::string_view file);
    void RecordThings(std::string_view file, std::span<const ElementRange> ranges);
    void RecordThingData(std::string_view file, std::span<const ElementRange> ranges);
    void RecordMissionScripts();
    void IndexNames() const;
    SceneBytesSpan Keep(std::string_view bytes);
    SceneBytesSpan KeepElementData(SceneList list, std::string_view element, std::size_t beforeScript);
    std::string_view WriteWith(ISceneFileOwner& owner);

    std::unique_ptr<CObjectOwner> objects_;
    CScene2File file_;
    CMemoryReadBuffer readBuffer_;
    std::iostream readStream_{&readBuffer_};
    CMemoryWriteBuffer writeBuffer_;
    std::iostream writeStream_{&writeBuffer_};

    // Every text and every object's data, one after the other.
    std::string block_;
    std::array<std::vector<SceneObjectRecord>, 3> records_;
    // For each list: the first object of each name, and the next of the same name.
    mutable std::array<std::unordered_map<std::string_view, std::size_t>, 3> firstByName_;
    mutable std::array<std::vector<std::size_t>, 3> nextSameName_;
    mutable bool namesIndexed_ = false;
    SceneBytesSpan headerText_;
    std::uint16_t headerWord1_ = 0;
    std::uint16_t headerWord2_ = 0;
    std::array<std::optional<SceneBytesSpan>, kSectionIds.size()> sections_;
    // Where each list section's elements lie in the file, in file order.
    std::array<std::vector<ElementRange>, 3> listSections_;
    std::vector<DataChunk> chunks_;  // reused for every element
};
