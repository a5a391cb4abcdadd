// The clipboard's objects reader: an input read as the bytes of copied objects into
// a mission whose code page is 1251, so that inputs written in 1250 or 1252 have
// their texts converted (or refused) too.

#include "fuzz/FuzzSupport.h"
#include "game/CObjectsPayload.h"
#include "game/CPayloadRefused.h"

#include <string_view>

namespace {

void ConsumeObject(const CSceneObject& object)
{
    fuzz::Consume(object.GetName());
    fuzz::Consume(object.GetScript());
    const Vector3 t = object.GetTranslation();
    const AxisAngle r = object.GetRotation();
    fuzz::ConsumeFloat(t.x + t.y + t.z + r.angle + r.x);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::SilentPresenter presenter;
    static const platform::ScopedPresenter scope(presenter);
    try {
        const CObjectsPayload::Objects objects =
            CObjectsPayload::Read({reinterpret_cast<const char*>(data), size}, 1251);
        for (const auto& thing : objects.things) {
            ConsumeObject(*thing);
            fuzz::Consume(static_cast<std::uint64_t>(thing->GetLinkedDataKind()));
            fuzz::Consume(thing->GetModelName());
        }
        for (const auto& thingData : objects.thingData)
            ConsumeObject(*thingData);
        for (const auto& script : objects.missionScripts)
            ConsumeObject(*script);
    } catch (const CPayloadRefused& refused) {
        fuzz::Consume(static_cast<std::uint64_t>(refused.GetCode()) + refused.GetCharacter());
    }
    return 0;
}
