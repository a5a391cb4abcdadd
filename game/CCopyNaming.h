#pragma once
// The names that copies (duplicates and pasted objects) get in a mission. A copy
// keeps its name while it is free; a taken one becomes BASE_N with the smallest
// N >= 2 that is free, BASE being the name without a final "_" and digits ("lamp_2"
// copies to "lamp_3" when "lamp_2" exists). An unnamed copy stays unnamed.
//
// A name is taken when an object of the copy's list has it or, for a thing that
// comes with linked thing data (which gets the same name, so that the two stay
// linked by name), when a thing data object has it. Names compare without regard
// to letter case in the game's code page.

#include <string>
#include <string_view>
#include <unordered_set>

class CMission;

class CCopyNaming {
public:
    // Which names count for a copy.
    enum class Copy {
        Thing,            // a thing without linked thing data: the things' names
        ThingWithData,    // a thing with linked thing data: the things' and the thing data's
        ThingData,        // the thing data's names
        MissionScript,    // the mission scripts' names
    };

    // The names `mission` holds now.
    explicit CCopyNaming(const CMission& mission);

    bool IsTaken(Copy copy, std::string_view name) const;
    // `name` when free, else the first free BASE_N; empty stays empty.
    std::string FreeName(Copy copy, std::string_view name) const;
    // Counts `name` as taken from now on, as a copy put into the mission would
    // (a thing with data takes it in both lists).
    void Take(Copy copy, std::string_view name);

    // `name` without a final "_" followed by one or more digits.
    static std::string_view BaseName(std::string_view name);

private:
    using Names = std::unordered_set<std::string>;

    Names things_;
    Names thingData_;
    Names missionScripts_;
};
