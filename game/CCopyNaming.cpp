#include "game/CCopyNaming.h"

#include "game/CMission.h"
#include "platform/CodePage.h"

namespace {

std::string Folded(std::string_view name)
{
    return platform::FoldCaseAnsi(name);
}

template <class List>
void Collect(std::unordered_set<std::string>& names, const List& list)
{
    names.reserve(list.size());
    for (const auto& object : list)
        names.insert(Folded(object->GetName()));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

CCopyNaming::CCopyNaming(const CMission& mission)
{
    Collect(things_, mission.GetThings());
    Collect(thingData_, mission.GetThingData());
    Collect(missionScripts_, mission.GetMissionScripts());
}

bool CCopyNaming::IsTaken(Copy copy, std::string_view name) const
{
    const std::string folded = Folded(name);
    switch (copy) {
    case Copy::Thing:
        return things_.contains(folded);
    case Copy::ThingWithData:
        return things_.contains(folded) || thingData_.contains(folded);
    case Copy::ThingData:
        return thingData_.contains(folded);
    case Copy::MissionScript:
        return missionScripts_.contains(folded);
    }
    return false;
}

std::string CCopyNaming::FreeName(Copy copy, std::string_view name) const
{
    if (name.empty() || !IsTaken(copy, name))
        return std::string(name);
    const std::string base(BaseName(name));
    // Each taken candidate is a name the lists hold: the search ends within their count.
    for (unsigned long n = 2;; ++n) {
        std::string candidate = base + "_" + std::to_string(n);
        if (!IsTaken(copy, candidate))
            return candidate;
    }
}

void CCopyNaming::Take(Copy copy, std::string_view name)
{
    std::string folded = Folded(name);
    switch (copy) {
    case Copy::Thing:
        things_.insert(std::move(folded));
        break;
    case Copy::ThingWithData:
        thingData_.insert(folded);
        things_.insert(std::move(folded));
        break;
    case Copy::ThingData:
        thingData_.insert(std::move(folded));
        break;
    case Copy::MissionScript:
        missionScripts_.insert(std::move(folded));
        break;
    }
}

std::string_view CCopyNaming::BaseName(std::string_view name)
{
    std::size_t end = name.size();
    while (end > 0 && IsDigit(name[end - 1]))
        --end;
    const bool hasDigits = end < name.size();
    if (hasDigits && end > 0 && name[end - 1] == '_')
        return name.substr(0, end - 1);
    return name;
}
