// The 4DS model reader, through C4dsModel::LoadBytes on the input in memory: the
// reader that Load runs on a file's bytes, with no file written or read per input.
// There is no GL context, so no texture is asked for.

#include "core/CVerdaxException.h"
#include "fuzz/FuzzSupport.h"
#include "model/C4dsModel.h"

namespace {

// Whatever drawing reads must be there: every index below the vertex count, every
// face group's indices three per face.
void CheckLod(const ModelLod& lod)
{
    if (lod.vertices.size() != lod.vertexCount)
        __builtin_trap();
    for (const FaceGroup& group : lod.faceGroups) {
        if (group.indices.size() != std::size_t(group.faceCount) * 3)
            __builtin_trap();
        for (std::uint16_t index : group.indices) {
            if (index >= lod.vertices.size())
                __builtin_trap();
        }
        fuzz::Consume(group.materialIndex);
    }
    for (const ModelVertex& v : lod.vertices) {
        fuzz::ConsumeFloat(v.x);
        fuzz::ConsumeFloat(v.u);
    }
}

void ConsumeFrame(const ModelFrame& frame)
{
    fuzz::Consume(frame.name);
    fuzz::Consume(frame.userText);
    fuzz::Consume(frame.type + frame.parentIndex + frame.children.size());
    for (const ModelLod& lod : frame.lods)
        CheckLod(lod);
    for (const SectorData& sector : frame.sectors) {
        fuzz::Consume(sector.vertices.size() + sector.faces.size());
        for (const SectorPortal& portal : sector.portals)
            fuzz::Consume(portal.vertices.size());
    }
    for (const ModelFrame* child : frame.children)
        fuzz::Consume(child->name.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::SilentPresenter presenter;
    static const platform::ScopedPresenter scope(presenter);
    C4dsModel model;
    try {
        model.LoadBytes({data, size}, "scene");
    } catch (const CVerdaxException& error) {
        fuzz::Consume(static_cast<std::uint64_t>(error.GetCode()));
    }
    fuzz::Consume(model.IsLoaded());
    fuzz::Consume(model.GetMaterials().size());
    for (const auto& frame : model.GetFrames())
        ConsumeFrame(*frame);
    return 0;
}
