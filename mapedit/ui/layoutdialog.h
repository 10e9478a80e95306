#pragma once
// TLayoutDialog, "Map Settings": the map's width and height and its four layer
// flags. Entering a size field applies the layer size limit to that field.
#include "mapedit/ui/dialogs.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace mapedit::ui {

class TLayoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit TLayoutDialog(QWidget* parent);

    void SetValues(const LayoutValues& values);
    LayoutValues Values() const;

    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* HelpBtn;
    QSpinBox* WidthEdit;
    QSpinBox* HeightEdit;
    QCheckBox* BackGround;
    QCheckBox* ForeGround;
    QCheckBox* Collision;
    QCheckBox* Attributes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SpinEdit1Change();
    void HeightEditChange();
};

} // namespace mapedit::ui
