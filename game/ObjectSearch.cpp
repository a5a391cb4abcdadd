#include "game/ObjectSearch.h"

#include "game/CTextMatcher.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/ISceneFileOwner.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

// Whether one of the eight bytes of `word` is `byte` (the classic test for a zero byte
// of word ^ byte repeated).
bool HasByte(std::uint64_t word, unsigned char byte)
{
    const std::uint64_t x = word ^ (0x0101010101010101ULL * byte);
    return ((x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL) != 0;
}

// The place of the first CR or LF, or the text's size. Eight bytes at a time up to
// the word that holds one: find_first_of would look each byte up with a call.
std::size_t LineEnd(std::string_view text)
{
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        if (HasByte(word, '\r') || HasByte(word, '\n'))
            break;
    }
    while (at < text.size() && text[at] != '\r' && text[at] != '\n')
        ++at;
    return at;
}

class ObjectSearch {
public:
    ObjectSearch(const CTextMatcher& matcher, const SearchFields& fields, std::vector<SearchMatch>& matches)
        : matcher_(matcher), fields_(fields), matches_(matches)
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

    // Most scripts hold no match: a plain pattern is looked for in the whole script
    // before it is split into lines.
    void Script(std::string_view script)
    {
        if (!fields_.scripts || !matcher_.CanMatchWithin(script))
            return;
        std::uint32_t number = 1;
        while (!script.empty()) {
            const std::size_t end = LineEnd(script);
            const std::string_view line = script.substr(0, end);
            if (matcher_.Matches(line))
                Add(SearchField::kScript, number, line);
            if (end == script.size())
                break;
            const bool crLf = script[end] == '\r' && end + 1 < script.size() && script[end + 1] == '\n';
            script.remove_prefix(end + (crLf ? 2 : 1));
            ++number;
        }
    }

private:
    void Add(SearchField field, std::uint32_t line, std::string_view text)
    {
        matches_.push_back({list_, index_, std::string(name_), field, line, std::string(text)});
    }

    const CTextMatcher& matcher_;
    const SearchFields& fields_;
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
                   std::vector<SearchMatch>& matches, const std::atomic<bool>* stop)
{
    ObjectSearch search(matcher, fields, matches);
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
