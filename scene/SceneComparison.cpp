#include "scene/SceneComparison.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>

namespace {

constexpr std::size_t kUnmatched = std::numeric_limits<std::size_t>::max();

using FieldMask = std::uint16_t;

constexpr FieldMask Bit(SceneField field)
{
    return static_cast<FieldMask>(1u << static_cast<unsigned>(field));
}

constexpr std::array<SceneField, 9> kFields{SceneField::kName,   SceneField::kKind,  SceneField::kTranslation,
                                            SceneField::kRotation, SceneField::kScale, SceneField::kModel,
                                            SceneField::kSector, SceneField::kScript, SceneField::kData};

template <std::size_t N>
bool SameBits(const std::array<float, N>& a, const std::array<float, N>& b)
{
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

struct Side {
    const CSceneSnapshot& scene;
    const SceneObjectRecord& record;

    std::string_view Bytes(SceneBytesSpan span) const { return scene.Bytes(span); }
};

// No field has a value that allocates: this runs for every matched pair.
FieldMask DifferingFields(const Side& a, const Side& b)
{
    const SceneObjectRecord& x = a.record;
    const SceneObjectRecord& y = b.record;
    FieldMask mask = 0;
    const auto differs = [&mask](SceneField field, bool different) {
        if (different)
            mask |= Bit(field);
    };
    differs(SceneField::kName, a.Bytes(x.name) != b.Bytes(y.name));
    differs(SceneField::kKind, x.kind != y.kind);
    differs(SceneField::kTranslation, !SameBits(x.translation, y.translation));
    differs(SceneField::kRotation, !SameBits(x.rotation, y.rotation));
    differs(SceneField::kScale, !SameBits(x.scale, y.scale));
    differs(SceneField::kModel, a.Bytes(x.model) != b.Bytes(y.model));
    differs(SceneField::kSector, a.Bytes(x.sector) != b.Bytes(y.sector));
    differs(SceneField::kScript, a.Bytes(x.script) != b.Bytes(y.script));
    differs(SceneField::kData, a.Bytes(x.data) != b.Bytes(y.data));
    return mask;
}

template <std::size_t N>
SceneFloats Floats(const std::array<float, N>& values)
{
    SceneFloats floats;
    std::copy(values.begin(), values.end(), floats.values.begin());
    floats.count = N;
    return floats;
}

SceneValue ValueOf(const Side& side, SceneField field)
{
    const SceneObjectRecord& r = side.record;
    switch (field) {
    case SceneField::kName:
        return std::string(side.Bytes(r.name));
    case SceneField::kKind:
        return std::int64_t{r.kind};
    case SceneField::kTranslation:
        return Floats(r.translation);
    case SceneField::kRotation:
        return Floats(r.rotation);
    case SceneField::kScale:
        return Floats(r.scale);
    case SceneField::kModel:
        return std::string(side.Bytes(r.model));
    case SceneField::kSector:
        return std::string(side.Bytes(r.sector));
    case SceneField::kScript:
        return std::string(side.Bytes(r.script));
    case SceneField::kData:
        break;
    }
    return false;
}

struct Matching {
    std::vector<std::size_t> afterOfBefore;
    std::vector<std::size_t> beforeOfAfter;
};

Matching Match(const CSceneSnapshot& before, const CSceneSnapshot& after, SceneList list)
{
    const std::size_t n = before.Count(list);
    const std::size_t m = after.Count(list);
    Matching match{std::vector<std::size_t>(n, kUnmatched), std::vector<std::size_t>(m, kUnmatched)};
    // For the first object of each name before: the next of that name still free.
    std::vector<std::size_t> freeOfName(n);
    std::iota(freeOfName.begin(), freeOfName.end(), std::size_t{0});
    for (std::size_t j = 0; j < m; ++j) {
        const auto first = before.FirstNamed(list, after.Bytes(after.Record(list, j).name));
        if (!first)
            continue;
        const std::size_t i = freeOfName[*first];
        if (i == kUnmatched)
            continue;
        match.afterOfBefore[i] = j;
        match.beforeOfAfter[j] = i;
        freeOfName[*first] = before.NextNamed(list, i).value_or(kUnmatched);
    }
    for (std::size_t i = 0; i < std::min(n, m); ++i) {
        if (match.afterOfBefore[i] == kUnmatched && match.beforeOfAfter[i] == kUnmatched) {
            match.afterOfBefore[i] = i;
            match.beforeOfAfter[i] = i;
        }
    }
    return match;
}

class CListComparison {
public:
    CListComparison(SceneList list, const CSceneSnapshot& before, const CSceneSnapshot& resaved,
                    const CSceneSnapshot& after, std::vector<SceneChange>& changes)
        : list_(list), before_(before), resaved_(resaved), after_(after), changes_(changes)
    {
    }

    void Run()
    {
        const Matching match = Match(before_, after_, list_);
        const std::size_t n = before_.Count(list_);
        const std::size_t m = after_.Count(list_);
        for (std::size_t index = 0; index < std::max(n, m); ++index) {
            if (index < n && match.afterOfBefore[index] == kUnmatched)
                AddRow(SceneChangeKind::kRemoved, index, std::nullopt);
            if (index < m && match.beforeOfAfter[index] == kUnmatched)
                AddRow(SceneChangeKind::kAdded, std::nullopt, index);
            else if (index < m)
                Compare(match.beforeOfAfter[index], index);
        }
    }

private:
    Side Before(std::size_t i) const { return {before_, before_.Record(list_, i)}; }
    Side After(std::size_t j) const { return {after_, after_.Record(list_, j)}; }

    void Compare(std::size_t i, std::size_t j)
    {
        const FieldMask fields = DifferingFields(Before(i), After(j));
        if (fields == 0)
            return;
        SceneChange& row = AddRow(SceneChangeKind::kChanged, i, j);
        for (const SceneField field : kFields) {
            if (fields & Bit(field))
                row.fields.push_back(field == SceneField::kData
                                         ? SceneFieldChange{field, false, true}
                                         : SceneFieldChange{field, ValueOf(Before(i), field), ValueOf(After(j), field)});
        }
        // What the save alone makes of this object: each changed field as it is after.
        row.bySave = i < resaved_.Count(list_) &&
                     (DifferingFields({resaved_, resaved_.Record(list_, i)}, After(j)) & fields) == 0;
    }

    SceneChange& AddRow(SceneChangeKind kind, std::optional<std::size_t> i, std::optional<std::size_t> j)
    {
        SceneChange& row = changes_.emplace_back();
        row.list = list_;
        row.object = j ? std::string(after_.Bytes(after_.Record(list_, *j).name))
                       : std::string(before_.Bytes(before_.Record(list_, *i).name));
        row.beforeIndex = i;
        row.afterIndex = j;
        row.change = kind;
        return row;
    }

    SceneList list_;
    const CSceneSnapshot& before_;
    const CSceneSnapshot& resaved_;
    const CSceneSnapshot& after_;
    std::vector<SceneChange>& changes_;
};

std::string SectionField(std::uint16_t id)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string name = "section_";
    for (int shift = 12; shift >= 0; shift -= 4)
        name += kDigits[(id >> shift) & 15];
    return name;
}

std::vector<SceneHeaderChange> CompareHeaders(const CSceneSnapshot& before, const CSceneSnapshot& after)
{
    std::vector<SceneHeaderChange> header;
    if (before.GetHeaderText() != after.GetHeaderText())
        header.push_back({"text", std::string(before.GetHeaderText()), std::string(after.GetHeaderText())});
    if (before.GetHeaderWord1() != after.GetHeaderWord1())
        header.push_back({"word1", std::int64_t{before.GetHeaderWord1()}, std::int64_t{after.GetHeaderWord1()}});
    if (before.GetHeaderWord2() != after.GetHeaderWord2())
        header.push_back({"word2", std::int64_t{before.GetHeaderWord2()}, std::int64_t{after.GetHeaderWord2()}});
    for (const std::uint16_t id : CSceneSnapshot::kSectionIds) {
        if (before.Section(id) != after.Section(id))
            header.push_back({SectionField(id), false, true});
    }
    return header;
}

}  // namespace

SceneComparison CompareScenes(const CSceneSnapshot& before, const CSceneSnapshot& resavedBefore,
                              const CSceneSnapshot& after)
{
    SceneComparison comparison;
    for (const SceneList list : kSceneLists)
        CListComparison(list, before, resavedBefore, after, comparison.changes).Run();
    comparison.header = CompareHeaders(before, after);
    return comparison;
}

std::size_t CountChangesBySave(const SceneComparison& comparison)
{
    return static_cast<std::size_t>(
        std::ranges::count_if(comparison.changes, [](const SceneChange& change) { return change.bySave; }));
}

std::string_view SceneListName(SceneList list)
{
    switch (list) {
    case SceneList::kThings:
        return "things";
    case SceneList::kThingData:
        return "thing_data";
    case SceneList::kMissionScripts:
        return "mission_scripts";
    }
    return {};
}

std::string_view SceneFieldName(SceneField field)
{
    static constexpr std::array<std::string_view, kFields.size()> kNames{
        "name", "kind", "translation", "rotation", "scale", "model", "sector", "script", "data"};
    return kNames[static_cast<std::size_t>(field)];
}

std::string_view SceneChangeKindName(SceneChangeKind change)
{
    switch (change) {
    case SceneChangeKind::kAdded:
        return "added";
    case SceneChangeKind::kRemoved:
        return "removed";
    case SceneChangeKind::kChanged:
        return "changed";
    }
    return {};
}
