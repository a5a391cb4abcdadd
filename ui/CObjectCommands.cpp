#include "ui/CObjectCommands.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CObjectsPayload.h"
#include "game/CPayloadRefused.h"
#include "game/ObjectOperations.h"
#include "platform/MessagePresenter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ui {
namespace {

QString MimeType()
{
    return QString::fromLatin1(CObjectsPayload::kMimeType.data(),
                               static_cast<qsizetype>(CObjectsPayload::kMimeType.size()));
}

const QMimeData* ClipboardData()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->mimeData() : nullptr;
}

void PutOnClipboard(CSceneObject& object, const std::string& payload)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setMimeData(CObjectCommands::MimeDataOf(payload, QString::fromStdString(CopyObjectText(object))));
}

}  // namespace

CObjectCommands::CObjectCommands(Context context) : context_(std::move(context)) {}

QMimeData* CObjectCommands::MimeDataOf(const std::string& payload, const QString& names)
{
    auto* data = new QMimeData;
    data->setData(MimeType(), QByteArray(payload.data(), static_cast<qsizetype>(payload.size())));
    data->setText(names);
    return data;
}

bool CObjectCommands::Selection(CSceneObject*& object, CMission*& mission) const
{
    object = context_.selectedObject ? context_.selectedObject() : nullptr;
    if (object)
        mission = context_.missionOf ? context_.missionOf(*object) : CDravoDon::Instance().GetRoot().FindMissionOf(object);
    else
        mission = nullptr;
    return mission && mission->IndexOf(*object);
}

bool CObjectCommands::CanDuplicate() const
{
    CSceneObject* object = nullptr;
    CMission* mission = nullptr;
    return Selection(object, mission);
}

bool CObjectCommands::CanPaste() const
{
    const QMimeData* data = ClipboardData();
    return data && data->hasFormat(MimeType()) && context_.pasteMission && context_.pasteMission();
}

void CObjectCommands::Duplicate()
{
    CSceneObject* object = nullptr;
    CMission* mission = nullptr;
    if (!Selection(object, mission))
        return;
    CSceneObject& copy = DuplicateObject(CDravoDon::Instance(), *mission, *object);
    context_.select(&copy);
}

void CObjectCommands::Delete()
{
    CSceneObject* object = nullptr;
    CMission* mission = nullptr;
    if (Selection(object, mission))
        DeleteObject(CDravoDon::Instance(), *mission, *object);
}

void CObjectCommands::Copy()
{
    CSceneObject* object = nullptr;
    CMission* mission = nullptr;
    if (Selection(object, mission))
        PutOnClipboard(*object, CopyObject(*object));
}

void CObjectCommands::Cut()
{
    CSceneObject* object = nullptr;
    CMission* mission = nullptr;
    if (!Selection(object, mission))
        return;
    // The clipboard takes the objects while they are still there to be named.
    const std::string payload = CopyObject(*object);
    PutOnClipboard(*object, payload);
    CutObject(CDravoDon::Instance(), *mission, *object);
}

void CObjectCommands::Paste()
{
    const QMimeData* data = ClipboardData();
    CMission* mission = context_.pasteMission ? context_.pasteMission() : nullptr;
    if (!data || !mission || !data->hasFormat(MimeType()))
        return;
    const QByteArray bytes = data->data(MimeType());
    try {
        const std::vector<CSceneObject*> pasted =
            PasteObjects(CDravoDon::Instance(), *mission, std::string_view(bytes.constData(), bytes.size()));
        if (!pasted.empty())
            context_.select(pasted.front());
    } catch (const CPayloadRefused& refused) {
        platform::Presenter().ShowMessage(0, refused.GetMessage());
    }
}

}  // namespace ui
