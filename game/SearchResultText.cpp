#include "game/SearchResultText.h"

std::string_view SearchFieldLabel(SearchField field)
{
    switch (field) {
    case SearchField::kName:
        return "имя";
    case SearchField::kModel:
        return "модель";
    case SearchField::kSector:
        return "сектор";
    case SearchField::kScript:
        return "скрипт";
    }
    return "";
}

namespace {

std::string MissionsSoFar(const CMissionSearchSession::Counts& counts)
{
    return "миссий: " + std::to_string(counts.searched) + " из " + std::to_string(counts.missions);
}

std::string Found(const CMissionSearchSession::Counts& counts)
{
    return "найдено: " + std::to_string(counts.matches);
}

}  // namespace

std::string SearchStatusText(CMissionSearchSession::State state, const CMissionSearchSession::Counts& counts)
{
    using State = CMissionSearchSession::State;
    std::string text;
    switch (state) {
    case State::kIdle:
        return text;
    case State::kRunning:
    case State::kStopping:
        text = "Поиск… " + Found(counts) + " · " + MissionsSoFar(counts);
        break;
    case State::kStopped:
        text = "Остановлено · " + Found(counts) + " · " + MissionsSoFar(counts);
        break;
    case State::kFinished:
        text = counts.matches ? "Найдено: " + std::to_string(counts.matches) : std::string("Ничего не найдено");
        text += " · миссий: " + std::to_string(counts.missions);
        break;
    }
    if (counts.unread)
        text += " · не прочитано: " + std::to_string(counts.unread);
    return text;
}
