#pragma once
// Objects as bytes: what a copy is made from and what the clipboard carries under
// the type "application/x-verdax-objects". The objects are written as the scene
// file writes their elements and read back through the same element readers, so
// that an object's content has one definition: a copy holds every value the
// original would write (kind, transform, model name, sector, carried blocks, which
// optional chunks are present).
//
// The bytes are one chunk, little-endian as in the scene file:
//
//   0x4F56  size of the whole payload ("VO")
//     0x0001  14 bytes: u32 format version (1), u32 the code page of the texts
//     0x4000  the things, one 0x4010 element each
//     0xAE20  the thing data, one 0xAE21 element each
//     0xAE50  the mission scripts, one 0xAE51 element each
//     0x4F4C  the links ("LO"): u32 count, then per link u32 thing index and
//             u32 thing data index, into the two lists above
//     0x4F52  the rotations ("RO"): u32 count (that of the things), then per thing
//             its rotation as held, 4 f32: angle in degrees, axis x, y, z
//
// in exactly this order. The file stores a rotation as a quaternion, converted from
// the angle and axis held; read back, it gives an angle and axis that convert to a
// quaternion a rounding step away about half the time. The rotations as held make
// a copy write the very quaternion its original writes; they are taken only for a
// thing whose element holds a rotation.
//
// Reading treats every byte as hostile: a section or an element out of place, a
// size that does not add up, a link out of range or made twice, a count of
// rotations other than the things', or more than kMaxObjects objects refuse the
// whole payload (CPayloadRefused) before any object is handed out.

#include "scene/CSceneObject.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CObjectsPayload final : public CSceneObject {
public:
    static constexpr std::string_view kMimeType = "application/x-verdax-objects";
    static constexpr std::uint32_t kFormatVersion = 1;
    // Far beyond what a copy holds; bounds what a payload can make us allocate.
    static constexpr std::size_t kMaxObjects = 65536;

    // New objects, in no mission. A thing linked in the payload is linked to its
    // thing data among `thingData`.
    struct Objects {
        std::vector<std::unique_ptr<CSceneObjectThing>> things;
        std::vector<std::unique_ptr<CSceneObjectThingData>> thingData;
        std::vector<std::unique_ptr<CSceneObjectMissionScript>> missionScripts;
    };

    // The bytes of `objects` (things, thing data and mission scripts, in any mix),
    // whose texts are in `codePage`. A thing's linked thing data goes with it, once.
    // The objects are not changed; they are not const only because writing binds
    // each to the stream it writes to.
    static std::string Write(const std::vector<CSceneObject*>& objects, int codePage);

    // New objects from `bytes`, their texts converted into `codePage` from the code
    // page they were written in. Throws CPayloadRefused for malformed bytes, or for
    // a text holding a character `codePage` cannot hold.
    static Objects Read(std::string_view bytes, int codePage);

private:
    CObjectsPayload() = default;

    std::string WriteObjects(const std::vector<CSceneObject*>& objects, int codePage);
    Objects ReadObjects(std::string_view bytes, int codePage);
    std::uint32_t ReadHeader(int& codePage);
    std::uint32_t ReadSectionSize(std::uint16_t id);
    template <class Element>
    std::uint32_t ReadList(std::uint16_t id, std::vector<std::unique_ptr<Element>>& list);
    std::uint32_t ReadLinks(Objects& objects);
    std::uint32_t ReadRotations(Objects& objects);
    std::uint32_t ReadCountedSection(std::uint16_t id, std::uint32_t recordBytes);
    template <class List>
    std::uint32_t WriteList(std::uint16_t id, const List& elements);

    std::size_t objectsRead_ = 0;
};
