#pragma once
// The "Translation" page: the object's position in fields 1025, 1026, 1027;
// Enter moves the object there.

#include "ui/CRollupEditVector.h"

namespace ui {

class CRollupEditTranslation final : public CRollupEditVector {
public:
    explicit CRollupEditTranslation(QWidget* parent = nullptr);

protected:
    std::optional<ObjectEdit> EditOf(const Vector3& values) const override;
};

}  // namespace ui
