#pragma once
// The words the search panel shows (UTF-8): a field's name in the result list and
// the line that counts the search's progress.

#include "game/CMissionSearchSession.h"
#include "game/SearchMatch.h"

#include <string>
#include <string_view>

// "имя", "модель", "сектор" or "скрипт".
std::string_view SearchFieldLabel(SearchField field);

// Where the search stands: "Поиск… найдено: 3 · миссий: 2 из 5" while it runs,
// "Найдено: 3 · миссий: 5" (or "Ничего не найдено · миссий: 5") once done,
// "Остановлено · найдено: 3 · миссий: 2 из 5" when stopped, each followed by
// " · не прочитано: N" when missions could not be read; empty before the first search.
std::string SearchStatusText(CMissionSearchSession::State state, const CMissionSearchSession::Counts& counts);
