#include "ui/CChangesBySaveNotice.h"

#include "core/CVerdaxException.h"
#include "game/CMission.h"
#include "game/CMissionChanges.h"

namespace ui {
namespace {

enum class NumberForm { kOne, kFew, kMany };

// Russian nouns after a number: 1, 21, 101 объект; 2–4, 22–24 объекта; 5–20, 25 объектов.
NumberForm FormOf(std::size_t count)
{
    const std::size_t lastTwo = count % 100;
    const std::size_t last = count % 10;
    if (last == 1 && lastTwo != 11)
        return NumberForm::kOne;
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        return NumberForm::kFew;
    return NumberForm::kMany;
}

}  // namespace

CChangesBySaveNotice::CChangesBySaveNotice() = default;
CChangesBySaveNotice::~CChangesBySaveNotice() = default;

QString CChangesBySaveNotice::AfterSave(const CMission& mission)
{
    std::unique_ptr<CMissionChanges>& changes = changes_[mission.GetFolder()];
    if (!changes)
        changes = std::make_unique<CMissionChanges>();
    std::size_t count = 0;
    try {
        count = CountChangesBySave(changes->Compare(mission));
    } catch (const CVerdaxException&) {
        return {};
    }
    return count == 0 ? QString() : ChangesBySaveMessage(count);
}

// Short enough for the message pane of a window of the default size.
QString ChangesBySaveMessage(std::size_t count)
{
    const char* noun = "объектов";
    switch (FormOf(count)) {
    case NumberForm::kOne:
        noun = "объект";
        break;
    case NumberForm::kFew:
        noun = "объекта";
        break;
    case NumberForm::kMany:
        break;
    }
    return QStringLiteral("Сохранение само изменило %1 %2; список — в панели «Изменения» (меню «Вид»).")
        .arg(count)
        .arg(QString::fromUtf8(noun));
}

}  // namespace ui
