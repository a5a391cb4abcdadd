#include "ui/SaveReporting.h"

#include "core/CVerdaxException.h"
#include "platform/MessagePresenter.h"

#include <exception>
#include <string_view>

namespace ui {
namespace {

// Shown when a save fails with an error that carried no text of its own.
constexpr int kSaveFailedId = 1004;
constexpr std::string_view kSaveFailedText = "Сорри, миссия не может быть записана.";

}  // namespace

bool SaveReportingFailure(const std::function<void()>& save)
{
    try {
        save();
        return true;
    } catch (const CVerdaxException& error) {
        if (error.GetText().empty())
            platform::Presenter().ShowMessage(kSaveFailedId, kSaveFailedText);
    } catch (const std::exception&) {
        platform::Presenter().ShowMessage(kSaveFailedId, kSaveFailedText);
    }
    return false;
}

}  // namespace ui
