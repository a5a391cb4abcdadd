#include "core/StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Sorted by id. A prompt's first line is the status bar text, its second the tooltip.
// The size follows from the entries, so that adding one is a one-line change.
constexpr auto kStrings = std::to_array<std::pair<int, std::string_view>>({
    {IDS_PROMPT_EDIT_BAR, "Показать Edit Bar\nВключить Edit Bar"},
    {IDR_MAINFRAME, "Verdax"},
    {IDR_CHILDFRAME, "\nVerdax\nVerdax"},
    {IDS_MISSIONS_TAB, "Миссии"},
    {IDS_INFO_TITLE, "Инфа Объекта"},
    {IDS_WORLD_TITLE, "Вид Мира"},
    {IDS_CHANGES_TAB, "Изменения"},
    {IDS_CATEGORY_THING_DATA, "Дата Вещей"},
    {IDS_CATEGORY_THINGS, "Вещи"},
    {IDS_CATEGORY_SCRIPTS, "Системные скрипты"},
    {IDS_CATEGORY_WHOLE, " Целое"},
    {IDS_ERR_FOREIGN, "Внешняя ошибка. Не могу загрузить миссию."},
    {IDS_ERR_MISSION_LOAD, "Сорри, миссия не может быть загружена."},
    {IDS_ERR_NO_MISSION_SELECTED, "Сорри, невозможно определить, какая миссия выбрана."},
    {IDS_ERR_REGISTRY, "Сорри, невозможно открыть ветку реестра. Переустановить игру."},
    {IDS_ERR_NO_SUCH_MISSION, "Сорри, в игре нет миссии «%1»."},
    {IDS_PROMPT_SAVE_MISSION, "Записать миссию на диск..."},
    {IDS_PROMPT_OBJECT_INFO, "Показать сведения о выбранном объекте\nИнфа Объекта"},
    {IDS_PROMPT_FRAME_SELECTION, "Поставить выделенную вещь перед камерой Вида Мира\nПоказать выделенное"},
    {IDS_PROMPT_FRAME_ALL, "Показать в Виде Мира всю миссию: мир и все вещи\nПоказать всё"},
    {IDS_PROMPT_VIEW_CHANGES, "Показать, что сохранение миссии изменит в файле игры\nИзменения"},
    {IDS_PROMPT_EDIT_DUPLICATE, "Поставить копию выделенного объекта сразу за ним\nДублировать"},
    {IDS_PROMPT_RESET_LAYOUT, "Вернуть окну и панелям места и размеры нового окна\nСбросить раскладку"},
    {IDS_PROMPT_FIND_IN_MISSIONS, "Найти текст в именах, моделях, скриптах и секторах всех миссий игры\nНайти во всех миссиях"},
    {IDS_APP_TITLE, "Verdax"},
    {IDS_PROMPT_FILE_NEW, "Создать новый документ\nНовый"},
    {IDS_PROMPT_FILE_SAVE, "Записать на диск миссию выбранного объекта или Вида Мира\nСохранить"},
    {IDS_PROMPT_FILE_PRINT, "Напечатать активный документ\nПечать"},
    {IDS_PROMPT_EDIT_CLEAR, "Удалить выделенный объект из миссии\nУдалить"},
    {IDS_PROMPT_EDIT_COPY, "Копировать выделенное в буфер обмена\nКопировать"},
    {IDS_PROMPT_EDIT_CUT, "Вырезать выделенное в буфер обмена\nВырезать"},
    {IDS_PROMPT_EDIT_PASTE, "Вставить содержимое буфера обмена\nВставить"},
    {IDS_PROMPT_EDIT_UNDO, "Отменить последнее изменение миссии\nОтменить"},
    {IDS_PROMPT_EDIT_REDO, "Повторить отменённое изменение миссии\nПовторить"},
    {IDS_PROMPT_APP_ABOUT, "Показать сведения о программе и её версии\nО Verdax"},
    {IDS_PROMPT_CONTEXT_HELP, "Показать справку по кнопке, меню или окну, на которых щёлкнут\nСправка"},
    {IDS_INDICATOR_CAPS, "CAP"},
    {IDS_INDICATOR_NUM, "NUM"},
    {IDS_INDICATOR_SCRL, "SCRL"},
    {IDS_PROMPT_OBJECT_BAR, "Показать или скрыть Object Bar\nВключить Object Bar"},
    {IDS_ERR_NOT_A_NUMBER, "Введите число."},
});

static_assert(std::ranges::is_sorted(kStrings, {}, &std::pair<int, std::string_view>::first));

}  // namespace

std::string_view LoadString(int id)
{
    const auto it = std::ranges::lower_bound(kStrings, id, {}, &std::pair<int, std::string_view>::first);
    return it != kStrings.end() && it->first == id ? it->second : std::string_view{};
}
