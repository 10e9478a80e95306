#include "mapedit/ui/medit.h"

#include "mapedit/ui/handlebox.h"
#include "mapedit/ui/infobox.h"
#include "mapedit/ui/mapview.h"
#include "mapedit/ui/maskfield.h"
#include "mapedit/ui/palettegrid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace mapedit::ui {

namespace {

constexpr int kTimer1Interval = 100;

// A progress box that keeps count of the loads under way.
class CountedProgress : public ProgressBox {
public:
    CountedProgress(std::unique_ptr<ProgressBox> box, int& depth)
        : Box(std::move(box)), Depth(depth) {
        ++Depth;
    }
    ~CountedProgress() override { --Depth; }
    void SetText(ProgressLine line, const std::string& text) override { Box->SetText(line, text); }

private:
    std::unique_ptr<ProgressBox> Box;
    int& Depth;
};

// Qt treats "[*]" in a caption as the modified marker; a doubled one shows as itself.
QString CaptionText(const std::string& caption) {
    return QString::fromStdString(caption).replace("[*]", "[*][*]");
}

} // namespace

TMedit::TMedit(QtDialogs* dialogs) {
    setObjectName("Medit");
    if (!dialogs) {
        OwnDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs = OwnDialogs_.get();
    }
    Dialogs_ = dialogs;
    Dialogs_->Parent = this;
    CursorPos = [] { return QCursor::pos(); };

    // The core calls back while it is created (caption, menu items); the
    // controls do not exist yet and catch up below.
    Editor_ = std::make_unique<TEditor>(*this);
    Commands_ = std::make_unique<TEditorCommands>(*Editor_, *Dialogs_);
    Commands_->QuitApplication = [this] {
        Quitting_ = true;
        QCoreApplication::exit(0);
    };

    Central_ = new QWidget(this);
    Central_->setObjectName("Client");
    Central_->setMouseTracking(true);
    Central_->installEventFilter(this);
    setCentralWidget(Central_);

    DrawGrid1 = new TMapView(*Editor_, Central_);
    BuildPalette(Central_);
    BuildDisplaySettings(Central_);
    BuildAttributeGroups(Central_);
    BuildStatusPanels(Central_);
    BuildMenus();

    HandleBox = new THandleBox(this);
    HandleBox->OnHandleChanged = [this](uint8_t x, uint8_t y) {
        Editor_->HandleX = x;
        Editor_->HandleY = y;
    };
    Editor_->HandleX = HandleBox->HandleX;
    Editor_->HandleY = HandleBox->HandleY;

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimer1Interval);
    connect(Timer1, &QTimer::timeout, this, &TMedit::Timer1Timer);
    Timer1->start();

    SetCaption(Editor_->Doc.DocName);
    SetUndoEnabled(Editor_->History.CanUndo());
    SetRedoEnabled(Editor_->History.CanRedo());
    setMinimumSize(640, 480);
    resize(1024, 768);

    // Keys for undo and redo reach the window before whichever control has the focus.
    qApp->installEventFilter(this);
}

TMedit::~TMedit() {
    qApp->removeEventFilter(this);
    // The controls refer to the editor core; they go first.
    delete HandleBox;
    delete Central_;
    HandleBox = nullptr;
    Central_ = nullptr;
    DrawGrid1 = nullptr;
    PaletteGrid = nullptr;
    MaskEdit1 = nullptr;
    StatusPanels = {};
    LayerButtons = {};
}

QAction* TMedit::Action(const char* name) const {
    return findChild<QAction*>(name);
}

void TMedit::FormResize() {
    Layout_ = FormResizeLayout(Central_->width(), Central_->height());
    auto place = [](QWidget* w, const Box& b) {
        if (w) w->setGeometry(b.left, b.top, b.width, b.height);
    };
    place(PaletteGrid, Layout_.PaletteGrid);
    for (size_t i = 0; i < PaletteMarkers.size(); ++i)
        place(PaletteMarkers[i], Layout_.PaletteMarkers[i]);
    place(SetMark, Layout_.SetMark);
    place(ZoomIn, Layout_.ZoomIn);
    place(ZoomOut, Layout_.ZoomOut);
    place(DisplaySettings, Layout_.DisplaySettings);
    place(AtributePresets, Layout_.AtributePresets);
    place(GroupBox2, Layout_.GroupBox2);
    for (size_t i = 0; i < StatusPanels.size(); ++i)
        place(StatusPanels[i], Layout_.StatusPanels[i]);
    FitMapView();
}

void TMedit::FitMapView() {
    if (!DrawGrid1) return;
    const Box& area = Layout_.MapArea;
    DrawGrid1->FitInto(QRect(area.left, area.top, area.width, area.height));
}

void TMedit::ZoomInClick() {
    if (DrawGrid1->CellSize() >= kMaxCellSize) return;
    DrawGrid1->SetCellSize(DrawGrid1->CellSize() * 2);
    FitMapView();
}

void TMedit::ZoomOutClick() {
    if (DrawGrid1->CellSize() <= kMinCellSize) return;
    DrawGrid1->SetCellSize(DrawGrid1->CellSize() / 2);
    FitMapView();
}

void TMedit::Timer1Timer() {
    const QPoint p = DrawGrid1->viewport()->mapFromGlobal(CursorPos());
    if (!DrawGrid1->viewport()->rect().contains(p)) Editor_->UpdateStampOutline(CellRect::None());
}

bool TMedit::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != this || QApplication::activeModalWidget()) break;
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && Editor_ && Editor_->FormKeyPress(text.at(0).toLatin1()))
            return true;
        break;
    }
    case QEvent::MouseMove:
        // FormMouseMove: the mouse is over the window but not over the view.
        if (watched == Central_ && Editor_) Editor_->UpdateStampOutline(CellRect::None());
        break;
    case QEvent::Resize:
        if (watched == Central_) FormResize();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMedit::closeEvent(QCloseEvent* event) {
    // A load in progress keeps the window: the document is half read.
    if (LoadDepth_ > 0 && !Quitting_) {
        event->ignore();
        return;
    }
    if (Quitting_ || Commands_->FormCloseQuery()) {
        HandleBox->hide();
        event->accept();
    } else {
        event->ignore();
    }
}

// ---- EditorUi ----

void TMedit::RedrawCell(int32_t x, int32_t y) {
    if (DrawGrid1) DrawGrid1->RedrawCell(x, y);
}

void TMedit::RepaintMap() {
    if (DrawGrid1) DrawGrid1->RepaintAll();
}

void TMedit::RepaintPalette() {
    if (PaletteGrid) PaletteGrid->RepaintAll();
}

// Qt shows the display colours as they are; there is no palette to realize,
// only the two grids to repaint with the new colours.
void TMedit::RealizeEditorPalette() {
    RepaintPalette();
    RepaintMap();
}

void TMedit::MapSizeChanged(int32_t width, int32_t height) {
    if (!DrawGrid1) return;
    DrawGrid1->SetGridSize(width, height);
    FitMapView();
}

void TMedit::SetCaption(const std::string& caption) {
    setWindowTitle(CaptionText(caption));
}

void TMedit::SetUndoEnabled(bool enabled) {
    if (QAction* undo = Action("Undo1")) undo->setEnabled(enabled);
}

void TMedit::SetRedoEnabled(bool enabled) {
    if (QAction* redo = Action("Redo1")) redo->setEnabled(enabled);
}

void TMedit::SetStatusText(StatusPanel panel, const std::string& text) {
    if (QLabel* label = StatusPanels[size_t(panel)]) label->setText(QString::fromStdString(text));
}

void TMedit::DrawStampOutline(const CellRect& rect, uint32_t colour) {
    if (DrawGrid1) DrawGrid1->DrawStampOutline(rect, colour);
}

void TMedit::PressLayerButton(LayerButton button) {
    if (QToolButton* b = LayerButtons[size_t(button)]) b->setChecked(true);
}

void TMedit::ShowAttribute(const TAttrInfo& attr) {
    if (!MaskEdit1) return;
    MaskEdit1->setText(QString::fromStdString(MaskText(attr.Arg)));
    AttrNameLabel->setText(QString::fromStdString(attr.Name));
    AttrArgLabel->setText(QString::fromStdString(attr.ArgText));
    for (int k = 0; k < kPresetCount; ++k)
        SetPresetButton(AttrArgPresets[size_t(k)], attr.PresetGlyph[size_t(k)],
                        attr.PresetValue[size_t(k)]);
}

void TMedit::ShowArgument(int32_t value) {
    if (MaskEdit1) MaskEdit1->setText(QString::fromStdString(MaskText(value)));
}

MessageResult TMedit::ShowMessage(MessageKind kind, const std::string& text,
                                  MessageButtons buttons) {
    return Dialogs_->Message(kind, text, buttons);
}

std::unique_ptr<ProgressBox> TMedit::OpenProgress(const std::string& whatDoing) {
    auto box = std::make_unique<CountedProgress>(std::make_unique<TInfoProgress>(this, whatDoing),
                                                 LoadDepth_);
    ProcessPendingEvents();
    return box;
}

// Loads keep the window painted but take no input meanwhile, so no command
// can start while the document is half read.
void TMedit::ProcessPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace mapedit::ui
