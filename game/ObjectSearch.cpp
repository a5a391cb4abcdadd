#include "game/ObjectSearch.h"

#include "game/CTextMatcher.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/ISceneFileOwner.h"

#include <string_view>

namespace {

class ObjectSearch {
public:
    ObjectSearch(const CTextMatcher& matcher, const SearchFields& fields, const std::string& mission,
                 std::vector<SearchMatch>& matches)
        : matcher_(matcher), fields_(fields), mission_(mission), matches_(matches)
    {
    }

    // One object of `list` at `index`, named `name`.
    void Begin(SearchList list, std::size_t index, std::string_view name)
    {
        list_ = list;
        index_ = index;
        name_ = name;
    }

    void Text(SearchField field, std::string_view text)
    {
        if (fields_.Has(field) && matcher_.Matches(text))
            Add(field, 0, text);
    }

    void Script(std::string_view script)
    {
        if (!fields_.scripts)
            return;
        std::uint32_t number = 1;
        while (!script.empty()) {
            const std::size_t end = script.find_first_of("\r\n");
            const std::string_view line = script.substr(0, end);
            if (matcher_.Matches(line))
                Add(SearchField::kScript, number, line);
            if (end == std::string_view::npos)
                break;
            const bool crLf = script[end] == '\r' && end + 1 < script.size() && script[end + 1] == '\n';
            script.remove_prefix(end + (crLf ? 2 : 1));
            ++number;
        }
    }

private:
    void Add(SearchField field, std::uint32_t line, std::string_view text)
    {
        matches_.push_back({mission_, list_, index_, std::string(name_), field, line, std::string(text)});
    }

    const CTextMatcher& matcher_;
    const SearchFields& fields_;
    const std::string& mission_;
    std::vector<SearchMatch>& matches_;
    SearchList list_ = SearchList::kThings;
    std::size_t index_ = 0;
    std::string_view name_;
};

bool Stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

}  // namespace

bool SearchObjects(const ISceneFileOwner& objects, const CTextMatcher& matcher, const SearchFields& fields,
                   const std::string& mission, std::vector<SearchMatch>& matches, const std::atomic<bool>* stop)
{
    ObjectSearch search(matcher, fields, mission, matches);
    const auto& things = objects.GetThings();
    for (std::size_t i = 0; i < things.size(); ++i) {
        if (Stopped(stop))
            return false;
        const CSceneObjectThing& thing = *things[i];
        search.Begin(SearchList::kThings, i, thing.GetNameView());
        search.Text(SearchField::kName, thing.GetNameView());
        search.Text(SearchField::kModel, thing.GetModelName());
        search.Text(SearchField::kSector, thing.GetSectorName());
    }
    const auto& thingData = objects.GetThingData();
    for (std::size_t i = 0; i < thingData.size(); ++i) {
        if (Stopped(stop))
            return false;
        const CSceneObjectThingData& data = *thingData[i];
        search.Begin(SearchList::kThingData, i, data.GetNameView());
        search.Text(SearchField::kName, data.GetNameView());
        search.Script(data.GetScriptView());
    }
    const auto& scripts = objects.GetMissionScripts();
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        if (Stopped(stop))
            return false;
        const CSceneObjectMissionScript& script = *scripts[i];
        search.Begin(SearchList::kMissionScripts, i, script.GetNameView());
        search.Text(SearchField::kName, script.GetNameView());
        search.Script(script.GetScriptView());
    }
    return true;
}
