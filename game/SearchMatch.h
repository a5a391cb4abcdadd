#pragma once
// What a search across the game's missions finds. Texts are bytes in the game's code
// page, as the objects hold them; whoever shows them converts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The lists of a mission, in the order their matches come.
enum class SearchList : std::uint8_t { kThings, kThingData, kMissionScripts };

// The texts of an object, in the order its matches come. Things have a name, a model
// and a sector; thing data and mission scripts a name and a script.
enum class SearchField : std::uint8_t { kName, kModel, kSector, kScript };

// Which texts a search looks at.
struct SearchFields {
    bool names = true;
    bool models = true;
    bool sectors = true;
    bool scripts = true;

    bool Has(SearchField field) const
    {
        switch (field) {
        case SearchField::kName:
            return names;
        case SearchField::kModel:
            return models;
        case SearchField::kSector:
            return sectors;
        case SearchField::kScript:
            return scripts;
        }
        return false;
    }
    bool Any() const { return names || models || sectors || scripts; }
};

// One text that holds the pattern, or one line of a script, of the mission whose
// outcome holds it.
struct SearchMatch {
    SearchList list = SearchList::kThings;
    std::size_t index = 0;  // in its list, from 0
    std::string object;     // the object's name
    SearchField field = SearchField::kName;
    // The script line, from 1 (lines end at CR LF, LF or a lone CR); 0 for the
    // other fields.
    std::uint32_t line = 0;
    // The script line without its line end, or the whole value.
    std::string text;

    bool operator==(const SearchMatch&) const = default;
};

// One mission searched: its matches in order, or why its objects could not be read.
struct MissionSearchOutcome {
    std::string mission;  // its name, as the catalogue lists it
    bool read = false;
    std::vector<SearchMatch> matches;
    std::int32_t errorCode = 0;  // the CVerdaxException's code when not read
    std::string errorText;       // and its text, in the code page (often empty)
};
