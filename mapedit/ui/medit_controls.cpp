// The main window's controls below and beside the map view: the palette with
// its markers, the layer buttons and show boxes, the zoom buttons, the
// attribute groups and the status panels.
#include "mapedit/ui/glyphs.h"
#include "mapedit/ui/mapview.h"
#include "mapedit/ui/maskfield.h"
#include "mapedit/ui/medit.h"
#include "mapedit/ui/palettegrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>

namespace mapedit::ui {

namespace {

// Keeps the argument field in the form of its mask while the user types.
class MaskValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const std::optional<std::string> normal = NormalizeMaskInput(input.toStdString());
        if (!normal) return Invalid;
        const int fromEnd = int(input.size()) - pos;
        input = QString::fromStdString(*normal);
        pos = std::max(0, int(input.size()) - fromEnd);
        return Acceptable;
    }
};

QFont SmallFont(int pixels) {
    QFont font;
    font.setFamilies({"Small Fonts", "DejaVu Sans", "Sans Serif"});
    font.setPixelSize(pixels);
    return font;
}

struct LayerControl {
    LayerButton button;
    const char* buttonName;
    const char* buttonText;
    const char* tip;
    const char* boxName;
    const char* boxCaption;
    bool shown;
    bool ShowOptions::*option;
};

// In the order they stand in the group, each button above its show box.
constexpr LayerControl kLayerControls[] = {
    {LayerButton::BackGroundButton, "BackGroundButton", "Back", "Paint the background",
     "DrawBackGround", "Background", true, &ShowOptions::DrawBackGround},
    {LayerButton::CollisionsButton, "CollisionsButton", "Coll", "Paint the collision layer",
     "DrawCollisions", "Collisions", false, &ShowOptions::DrawCollisions},
    {LayerButton::MiddleGroundButton, "MiddleGroundButton", "Fore 1",
     "Paint the middle ground (Fore 1)", "DrawMiddleGround", "Fore 1", true,
     &ShowOptions::DrawMiddleGround},
    {LayerButton::ForeGroundButton, "ForeGroundButton", "Fore 2", "Paint the foreground (Fore 2)",
     "DrawForeGround", "Fore 2", true, &ShowOptions::DrawForeGround},
    {LayerButton::AttributesButton, "AttributesButton", "Attr A", "Paint attribute A",
     "DrawTerrain", "Atrributes A", true, &ShowOptions::DrawTerrain},
    {LayerButton::AttributesButton2, "AttributesButton2", "Attr B", "Paint attribute B",
     "DrawEffect", "Attributes B", true, &ShowOptions::DrawEffect},
};

} // namespace

void TMedit::BuildPalette(QWidget* central) {
    PaletteGrid = new TPaletteGrid(*Editor_, central);
    for (int i = 0; i < TPaletteMarks::kMarkerCount; ++i) {
        auto* marker = new QToolButton(central);
        marker->setObjectName(QString("PaletteMarker%1").arg(i + 1));
        marker->setToolTip(QString("Palette marker %1").arg(i + 1));
        connect(marker, &QToolButton::clicked, this, [this, i] { PaletteMarkerClick(i); });
        PaletteMarkers[size_t(i)] = marker;
    }
    SetMark = new QPushButton(QString::fromStdString(Marks_.Caption()), central);
    SetMark->setObjectName("SetMark");
    SetMark->setFont(SmallFont(9));
    connect(SetMark, &QPushButton::clicked, this,
            [this] { SetMark->setText(QString::fromStdString(Marks_.SetMarkClick())); });
}

void TMedit::PaletteMarkerClick(int index) {
    const std::optional<int> row = Marks_.MarkerClick(index, PaletteGrid->TopRow());
    SetMark->setText(QString::fromStdString(Marks_.Caption()));
    if (row) PaletteGrid->SetTopRow(*row);
}

void TMedit::BuildDisplaySettings(QWidget* central) {
    ZoomIn = new QToolButton(central);
    ZoomIn->setObjectName("ZoomIn");
    ZoomIn->setIcon(ZoomGlyph(true));
    ZoomIn->setToolTip("Zoom in");
    connect(ZoomIn, &QToolButton::clicked, this, &TMedit::ZoomInClick);
    ZoomOut = new QToolButton(central);
    ZoomOut->setObjectName("ZoomOut");
    ZoomOut->setIcon(ZoomGlyph(false));
    ZoomOut->setToolTip("Zoom out");
    connect(ZoomOut, &QToolButton::clicked, this, &TMedit::ZoomOutClick);

    DisplaySettings = new QGroupBox(central);
    DisplaySettings->setObjectName("DisplaySettings");
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    constexpr int kColumn = 86;
    for (size_t i = 0; i < std::size(kLayerControls); ++i) {
        const LayerControl& c = kLayerControls[i];
        auto* button = new QToolButton(DisplaySettings);
        button->setObjectName(c.buttonName);
        button->setText(c.buttonText);
        button->setToolTip(c.tip);
        button->setCheckable(true);
        button->setStyleSheet(kToggleButtonStyle);
        button->setGeometry(6 + int(i) * kColumn, 8, 78, 22);
        group->addButton(button);
        LayerButtons[size_t(c.button)] = button;
        const LayerButton which = c.button;
        connect(button, &QToolButton::clicked, this,
                [this, which] { Editor_->LayerButtonClick(which); });

        auto* box = new QCheckBox(c.boxCaption, DisplaySettings);
        box->setObjectName(c.boxName);
        box->setFont(SmallFont(10));
        box->setChecked(c.shown);
        box->setGeometry(6 + int(i) * kColumn, 34, kColumn - 2, 20);
        ShowBoxes[i] = box;
        bool ShowOptions::*option = c.option;
        Editor_->Show.*option = c.shown;
        // DrawAttributesClick: the boxes decide what is drawn and painted.
        connect(box, &QCheckBox::toggled, this, [this, option](bool on) {
            Editor_->Show.*option = on;
            RepaintMap();
        });
    }
    LayerButtons[size_t(LayerButton::BackGroundButton)]->setChecked(true);
    LayerButtons[size_t(LayerButton::AttributesButton)]->setProperty("tag", 1);
    LayerButtons[size_t(LayerButton::AttributesButton2)]->setProperty("tag", 2);
}

void TMedit::BuildAttributeGroups(QWidget* central) {
    AtributePresets = new QGroupBox("Atribute Presets", central);
    AtributePresets->setObjectName("AtributePresets");
    for (int tag = 0; tag < kAttrCount; ++tag) {
        const TAttrInfo& attr = Editor_->Attrs.AttrTable[size_t(tag)];
        auto* button = new QPushButton(QString::fromStdString(attr.ShortName), AtributePresets);
        button->setObjectName(QString("AttrPreset%1").arg(tag));
        button->setProperty("tag", tag);
        button->setToolTip(QString::fromStdString(attr.Name));
        button->setFont(SmallFont(10));
        button->setFocusPolicy(Qt::TabFocus);
        button->setGeometry(6 + (tag % 5) * 58, 18 + (tag / 5) * 19, 57, 19);
        connect(button, &QPushButton::clicked, this,
                [this, tag] { Editor_->AttrPresetClick(tag); });
        AttrPresetButtons[size_t(tag)] = button;
    }

    GroupBox2 = new QGroupBox("Attribute settings", central);
    GroupBox2->setObjectName("GroupBox2");
    AttrNameLabel = new QLabel(GroupBox2);
    AttrNameLabel->setObjectName("AttrNameLabel");
    QFont bold = AttrNameLabel->font();
    bold.setBold(true);
    AttrNameLabel->setFont(bold);
    AttrNameLabel->setGeometry(8, 18, 176, 18);
    AttrStyleLabel = new QLabel(GroupBox2);
    AttrStyleLabel->setObjectName("AttrStyleLabel");
    AttrStyleLabel->setGeometry(8, 36, 176, 16);
    AttrArgLabel = new QLabel(GroupBox2);
    AttrArgLabel->setObjectName("AttrArgLabel");
    AttrArgLabel->setGeometry(8, 54, 176, 18);

    MaskEdit1 = new QLineEdit(GroupBox2);
    MaskEdit1->setObjectName("MaskEdit1");
    MaskEdit1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MaskEdit1->setValidator(new MaskValidator(MaskEdit1));
    MaskEdit1->setText(QString::fromStdString(MaskText(0)));
    MaskEdit1->setGeometry(190, 50, 52, 24);
    connect(MaskEdit1, &QLineEdit::textChanged, this,
            [this](const QString& text) { Editor_->MaskEdit1Change(text.toStdString()); });

    for (int k = 0; k < kPresetCount; ++k) {
        auto* button = new QToolButton(GroupBox2);
        button->setObjectName(QString("AttrArgPreset%1").arg(k));
        button->setGeometry(5 + k * 24, 86, 24, 24);
        button->setIconSize(QSize(kPresetGlyphSize, kPresetGlyphSize));
        button->setFocusPolicy(Qt::TabFocus);
        button->hide();
        connect(button, &QToolButton::clicked, this,
                [this, button] { Editor_->AttrArgPresetClick(button->property("tag").toInt()); });
        AttrArgPresets[size_t(k)] = button;
    }
}

void TMedit::SetPresetButton(QToolButton* button, const char* glyph, int32_t value) {
    if (!glyph) {
        button->hide();
        return;
    }
    button->setProperty("tag", value);
    button->setToolTip(QString::number(value));
    button->setIcon(QIcon(PresetGlyph(glyph)));
    button->setProperty("glyph", glyph);
    button->show();
}

void TMedit::BuildStatusPanels(QWidget* central) {
    const char* names[] = {"CoordsDisp", "TerrainDisp", "EffectDisp", "StatusDisp"};
    for (size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new QLabel(central);
        panel->setObjectName(names[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(3);
        StatusPanels[i] = panel;
    }
}

} // namespace mapedit::ui
