// The object-level comparison of scene files: a snapshot of the input, which walks
// the top level and the elements that the scene readers accepted, compared with its
// own read-then-write (as verdax-tool diff compares a mission's saved file), and
// with a file of other objects and names (the demo's harbour town) both ways.

#include "core/CVerdaxException.h"
#include "fuzz/FuzzSupport.h"
#include "scene/CSceneSnapshot.h"
#include "scene/SceneComparison.h"
#include "tools/demo/DemoScenes.h"

namespace {

void ConsumeComparison(const SceneComparison& comparison)
{
    for (const SceneChange& change : comparison.changes) {
        fuzz::Consume(change.object);
        fuzz::Consume(change.fields.size() + change.beforeIndex.value_or(0) + change.afterIndex.value_or(0));
        for (const SceneFieldChange& field : change.fields)
            fuzz::Consume(SceneValueText(field.before) + SceneValueText(field.after));
    }
    fuzz::Consume(CountChangesBySave(comparison) + comparison.header.size());
}

struct OtherFile {
    OtherFile()
    {
        before.Read(demo::WriteScene2(demo::HarbourTownScene()));
        resaved.Read(before.Write());
    }
    CSceneSnapshot before;
    CSceneSnapshot resaved;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::SilentPresenter presenter;
    static const platform::ScopedPresenter scope(presenter);
    static OtherFile other;
    CSceneSnapshot input;
    CSceneSnapshot resaved;
    try {
        input.Read({reinterpret_cast<const char*>(data), size});
        resaved.Read(input.Write());
    } catch (const CVerdaxException& error) {
        fuzz::Consume(static_cast<std::uint64_t>(error.GetCode()));
        return 0;
    }
    ConsumeComparison(CompareScenes(input, resaved, resaved));
    ConsumeComparison(CompareScenes(input, resaved, other.before));
    ConsumeComparison(CompareScenes(other.before, other.resaved, input));
    return 0;
}
