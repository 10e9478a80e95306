#include "maprun/ui/form1.h"

#include "formats/errors.h"
#include "maprun/window/windowgeometry.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace maprun {

namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 200;

// Small glyphs for the caption-less buttons, drawn in code.
QIcon ButtonGlyph(char kind) {
    QPixmap pm(11, 11);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::black);
    if (kind == 's') { // single step: a play triangle with a bar
        QPolygonF tri{{2, 1}, {8, 5.5}, {2, 10}};
        p.drawPolygon(tri);
        p.drawLine(QPointF(9.5, 1), QPointF(9.5, 10));
    } else { // brighter: a sun with rays; darker: a filled disc
        p.setBrush(kind == '+' ? Qt::white : Qt::black);
        p.drawEllipse(QPointF(5.5, 5.5), 2.8, 2.8);
        if (kind == '+')
            for (int i = 0; i < 8; ++i) {
                QTransform t;
                t.translate(5.5, 5.5).rotate(45 * i);
                p.drawLine(t.map(QPointF(4, 0)), t.map(QPointF(5.3, 0)));
            }
    }
    return QIcon(pm);
}

} // namespace

TForm1::TForm1(const std::string& mapArgument, FullscreenSupport& fullscreen,
               ErrorHandler showError, const std::filesystem::path& assetsDir)
    : QWidget(nullptr, Qt::Tool), fullscreen_(fullscreen), showError_(std::move(showError)) {
    setWindowTitle("Form1");
    // Qt lets no tool window keep the program alive: without this, closing
    // the fullscreen window would end it, and closing this one would not.
    setAttribute(Qt::WA_QuitOnClose);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setAttribute(Qt::WA_OpaquePaintEvent);
    CreateControls();

    timerHost_ = std::make_unique<TimerHost>();
    MMTimer1().SetEnabled(false);
    MMTimer1().SetResolution(1);
    MMTimer1().OnTimer = [this](TMMTimer&, int ticks) { MMTimer1Timer(ticks); };
    MMTimer1().OnException = [this](const std::exception& e) {
        showError_(QString::fromLocal8Bit(formats::ErrorMessage(e)));
    };

    try {
        Game_ = std::make_unique<TZorvGame>(false, mapArgument, assetsDir);
        Game_->SetWindowed(true);
    } catch (const std::exception& e) {
        Game_.reset();
        showError_(QString::fromLocal8Bit(formats::ErrorMessage(e)));
    }
    AdjustSize();

    DeviceLabelTexts labels = DeviceLabels(fullscreen_.DeviceInfo());
    VBEVersion->setText(QString::fromStdString(labels.vbeVersion));
    OEM->setText(QString::fromStdString(labels.oem));
    VideoMemory->setText(QString::fromStdString(labels.videoMemory));
    for (QLabel* l : {VBEVersion, OEM, VideoMemory})
        l->adjustSize();
    Button1->setEnabled(fullscreen_.CanRunFullscreen() && Game_);
    if (!fullscreen_.CanRunFullscreen()) Button1->setToolTip("No VBE hardware found");
}

TForm1::~TForm1() {
    timerHost_.reset(); // stop the timer before the game goes
}

void TForm1::CreateControls() {
    auto label = [this](QWidget* parent, const char* name, const char* text, int x, int y) {
        auto* l = new QLabel(text, parent);
        l->setObjectName(name);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    VBEVersion = label(this, "VBEVersion", "VBEVersion", 8, 8);
    VideoMemory = label(this, "VideoMemory", "VideoMemory", 8, 56);
    OEM = label(this, "OEM", "OEM", 8, 32);

    GroupBox1 = new QGroupBox("Last 100 Frames", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 80, 233, 33);
    FrameRate = label(GroupBox1, "FrameRate", "Avg:", 8, 16);
    BestRate = label(GroupBox1, "BestRate", "Best:", 84, 16);
    WorstRate = label(GroupBox1, "WorstRate", "Worst:", 160, 16);
    for (QLabel* l : {FrameRate, BestRate, WorstRate})
        l->setFixedWidth(72);

    Button1 = new QPushButton("Fullscreen ", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(248, 88, 65, 25);
    CheckBox1 = new QCheckBox("HiRes", this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(224, 32, 57, 17);
    RunningCheckBox = new QCheckBox("Running", this);
    RunningCheckBox->setObjectName("RunningCheckBox");
    RunningCheckBox->setGeometry(224, 8, 97, 17);
    auto small = [this](const char* name, int x, char glyph, const char* tip) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setGeometry(x, 56, 17, 17);
        b->setIcon(ButtonGlyph(glyph));
        b->setToolTip(tip);
        return b;
    };
    Button2 = small("Button2", 224, 's', "Single step");
    Button3 = small("Button3", 248, '+', "Brighter");
    Button4 = small("Button4", 272, '-', "Darker");

    setTabOrder(Button1, CheckBox1);
    setTabOrder(CheckBox1, RunningCheckBox);
    setTabOrder(RunningCheckBox, Button2);
    setTabOrder(Button2, GroupBox1);
    setTabOrder(GroupBox1, Button3);
    setTabOrder(Button3, Button4);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(RunningCheckBox, &QCheckBox::clicked, this,
            [this] { SetRunningOrReport(RunningCheckBox->isChecked()); });
    connect(Button2, &QPushButton::clicked, this, [this] { MMTimer1Timer(1); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

QSize TForm1::PictureSize() const {
    if (!Game_) return {kDefaultWidth, kDefaultHeight};
    const TFrameBuffer& fb = Game_->FrameBuffer();
    return {fb.Width(), fb.Height()};
}

void TForm1::AdjustSize() {
    QSize picture = PictureSize();
    QRect outer = frameGeometry();
    QSize border = outer.size() - size();
    WindowRect r =
        CentredWindow({outer.x(), outer.y(), outer.width(), outer.height()}, picture.width(),
                      picture.height(), border.width(), border.height());
    setFixedSize(picture.width(), picture.height() + kPictureTop);
    move(r.left, r.top);
}

void TForm1::SetRunning(bool value) {
    if (value == Running_) return;
    Running_ = value;
    if (value) {
        MMTimer1().SetInterVal(14);
        MMTimer1().SetEnabled(true);
    } else {
        MMTimer1().SetEnabled(false);
    }
}

// A timer that cannot be started is reported; it must not unwind through Qt.
void TForm1::SetRunningOrReport(bool value) {
    try {
        SetRunning(value);
    } catch (const std::exception& e) {
        Running_ = false;
        RunningCheckBox->setChecked(false);
        showError_(e.what());
    }
}

void TForm1::MMTimer1Timer(int ticks) {
    stats_.AddFrame(ticks);
    if (auto t = stats_.AverageText()) FrameRate->setText(QString::fromStdString(*t));
    if (auto t = stats_.BestText()) BestRate->setText(QString::fromStdString(*t));
    if (auto t = stats_.WorstText()) WorstRate->setText(QString::fromStdString(*t));
    if (!Game_) return;
    Game_->Advance(ticks);
    Game_->Draw();
    ShowFrame();
}

void TForm1::ShowFrame() {
    QSize picture = PictureSize();
    repaint(0, kPictureTop, picture.width(), picture.height());
}

void TForm1::CheckBox1Click() {
    if (Game_) Game_->SetHiRes(CheckBox1->isChecked());
    AdjustSize();
    update();
}

void TForm1::ChangeBrightness(float step) {
    if (!Game_) return;
    TFrameBuffer& fb = Game_->FrameBuffer();
    fb.SetBrightness(fb.Brightness() + step);
    update(0, kPictureTop, fb.Width(), fb.Height());
}

void TForm1::Button1Click() {
    if (!Game_ || !fullscreen_.CanRunFullscreen()) return;
    SetRunning(false);
    Game_->SetWindowed(false);
    // A refused or failed run has already given the desktop back; the window
    // reports it and goes on as after any run.
    try {
        fullscreen_.RunFullscreen(*Game_);
    } catch (const std::exception& e) {
        showError_(QString::fromLocal8Bit(formats::ErrorMessage(e)));
    }
    Game_->SetWindowed(true);
    SetRunningOrReport(RunningCheckBox->isChecked());
    raise(); // in front again, with the keyboard
    activateWindow();
    update();
}

void TForm1::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(0, 0, width(), kPictureTop, palette().window());
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, kPictureTop - 2, width(), kPictureTop - 2);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, kPictureTop - 1, width(), kPictureTop - 1);

    QSize picture = PictureSize();
    if (!Game_) {
        p.fillRect(0, kPictureTop, picture.width(), picture.height(), Qt::black);
        p.setPen(Qt::gray);
        p.drawText(QRect(0, kPictureTop, picture.width(), picture.height()), Qt::AlignCenter,
                   "No game");
        return;
    }
    TFrameBuffer& fb = Game_->FrameBuffer();
    fb.ClearPaletteChanged(); // the colour table is taken fresh below
    QImage image(fb.Bits(), fb.Width(), fb.Height(), fb.Width(), QImage::Format_Indexed8);
    QList<QRgb> colours(256);
    const RgbQuad* c = fb.Colors();
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(c[i].rgbRed, c[i].rgbGreen, c[i].rgbBlue);
    image.setColorTable(colours);
    // Bottom-up rows are shown through a vertical flip rather than copied.
    if (fb.Flipped()) {
        p.translate(0, kPictureTop + fb.Height());
        p.scale(1, -1);
        p.drawImage(0, 0, image);
    } else {
        p.drawImage(0, kPictureTop, image);
    }
}

} // namespace maprun
