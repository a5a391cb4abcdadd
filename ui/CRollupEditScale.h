#pragma once
// The "Scale" page: the object's scale in fields 1038, 1040, 1042; Enter scales
// the object.

#include "ui/CRollupEditVector.h"

namespace ui {

class CRollupEditScale final : public CRollupEditVector {
public:
    explicit CRollupEditScale(QWidget* parent = nullptr);

protected:
    std::optional<ObjectEdit> EditOf(const Vector3& values) const override;
};

}  // namespace ui
