#pragma once
// TInfoBox: the progress box that the tile set loader and the map reader show
// while they work, always on top, visible as soon as it is created.
#include "mapedit/core/editorui.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;

namespace mapedit::ui {

class TInfoBox : public QDialog {
    Q_OBJECT
public:
    explicit TInfoBox(QWidget* owner);

    void SetText(ProgressLine line, const QString& text);

    QGroupBox* WhatDoing;
    QGroupBox* GroupBox2;
    QLabel* CurrentString;
    std::array<QLabel*, 5> Labels{}; // Label1 to Label5
};

// The editor core's view of an open progress box: it closes with the object.
class TInfoProgress : public ProgressBox {
public:
    TInfoProgress(QWidget* owner, const std::string& whatDoing);
    ~TInfoProgress() override;
    void SetText(ProgressLine line, const std::string& text) override;

private:
    TInfoBox* Box;
};

} // namespace mapedit::ui
