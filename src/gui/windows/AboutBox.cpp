#include "windows/AboutBox.h"

#include "platform/MessageBoxes.h"
#include "platform/ProgramLauncher.h"
#include "platform/SystemInformation.h"
#include "look/WindowLook.h"
#include "look/Twips.h"
#include "windows/WindowDirectory.h"
#include "look/Pictures.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace quorvex {

namespace {

// One element of the line array Line1.
void addLine(QWidget* parent, int index, int left, int top, int width, int pixels,
             std::uint32_t colour)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setProperty("index", index);
    const QRect rect = twipsRect(left, top, width, 0);
    line->setGeometry(rect.x(), rect.y(), rect.width(), pixels);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, bgrColor(colour));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
}

} // namespace

AboutBox::AboutBox(WindowDirectory& windows) : m_windows(windows)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Veltrano - A propos de "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(applicationIcon());
    setFixedSize(twipsSize(7770, 4380));
    paintWindowBackground(this);

    // The buttons come first: OK leads the tab order and holds the focus on opening.
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setGeometry(twipsRect(4455, 3900, 1260, 375));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &AboutBox::onOkClicked);

    m_systemInfoButton = new QPushButton(QStringLiteral("&Infos système..."), this);
    m_systemInfoButton->setObjectName(QStringLiteral("cmdSysInfo"));
    m_systemInfoButton->setGeometry(twipsRect(5835, 3900, 1815, 375));
    connect(m_systemInfoButton, &QPushButton::clicked, this, &AboutBox::onSystemInfoClicked);
    setTabOrder(m_okButton, m_systemInfoButton);

    // The title band: the transparent front label over the light blue one.
    const QFont titleFont = timesNewRoman(21.75, true);
    const QRect band = twipsRect(0, 0, 7770, 555);
    QLabel* back = addLabel(this, "Label1", applicationTitle(), band, titleFont,
                            bgrColor(bgr::kWhite), Qt::AlignHCenter);
    QPalette backPalette = back->palette();
    backPalette.setColor(QPalette::Window, bgrColor(bgr::kLightBlue));
    back->setPalette(backPalette);
    back->setAutoFillBackground(true);
    addLabel(this, "Label2", applicationTitle(), band, titleFont,
             palette().color(QPalette::WindowText), Qt::AlignHCenter);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setProperty("index", 1);
    logo->setGeometry(twipsRect(240, 735, 1755, 1935));
    logo->setPixmap(logoPicture(logo->size(), devicePixelRatioF()));

    // Two etched rules over the right-hand part: a grey line on a white one two pixels wide.
    constexpr int rulesLeft = 2160;
    constexpr int rulesWidth = 7650 - rulesLeft;
    addLine(this, 0, rulesLeft, 705, rulesWidth, 2, bgr::kWhite);
    addLine(this, 1, rulesLeft, 705, rulesWidth, 1, bgr::kGrey);
    addLine(this, 2, rulesLeft, 1380, rulesWidth, 2, bgr::kWhite);
    addLine(this, 3, rulesLeft, 1380, rulesWidth, 1, bgr::kGrey);
    // The array's last element draws over the second rule's grey line.
    addLine(this, 4, rulesLeft, 1380, rulesWidth, 1, bgr::kGrey);

    QLabel* version = addLabel(this, "lblVersion", QStringLiteral("Version 2.0"),
                               twipsRect(rulesLeft, 840, rulesWidth, 405),
                               timesNewRoman(14.25, true, true), bgrColor(bgr::kBlue),
                               Qt::AlignHCenter);
    QPalette versionPalette = version->palette();
    versionPalette.setColor(QPalette::Window, bgrColor(bgr::kLightPeach));
    version->setPalette(versionPalette);
    version->setAutoFillBackground(true);

    auto* creditsFrame = new QGroupBox(QStringLiteral("Crédits"), this);
    creditsFrame->setObjectName(QStringLiteral("Frame1"));
    creditsFrame->setGeometry(twipsRect(rulesLeft, 1500, rulesWidth, 2280));
    creditsFrame->setFont(timesNewRoman(9.75, true, true));
    QPalette framePalette = creditsFrame->palette();
    framePalette.setColor(QPalette::Window, bgrColor(bgr::kLightPeach));
    framePalette.setColor(QPalette::WindowText, bgrColor(bgr::kRed));
    creditsFrame->setPalette(framePalette);
    creditsFrame->setAutoFillBackground(true);

    const QFont plain = timesNewRoman(9.75, true);
    const QFont named = timesNewRoman(9.75, true, true);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor red = bgrColor(bgr::kRed);
    const QColor organisation = bgrColor(bgr::kDarkBlue);
    constexpr int captionLeft = 120;
    constexpr int valueLeft = 1380;
    constexpr int rowWidth = rulesWidth - 240;
    const auto row = [](int n) { return 300 + (n - 1) * 270; };
    // The credits: a caption and its value on one line, or one line across the frame.
    enum class Kind { Caption, Value, Line };
    struct Credit {
        const char* name;
        Kind kind;
        int row;
        const char* text;  // UTF-8
    };
    static const Credit credits[] = {
        {"Label4", Kind::Caption, 1, "Responsable: "},
        {"Label5", Kind::Value, 1, "Projet Veltrano - Quorvex"},
        {"Label3", Kind::Caption, 2, "Réalisation :"},
        {"Label6", Kind::Value, 2, "L'équipe de développement de Quorvex"},
        {"Label7", Kind::Line, 3, "Concordancier de textes parallèles"},
        {"Label8", Kind::Line, 4, "Textes latins et leur traduction française"},
        {"Label9", Kind::Line, 5, "Projet Veltrano - Quorvex"},
        {"Label10", Kind::Caption, 6, "Courriel:"},
        {"Label11", Kind::Value, 6, "voir le dépôt du projet"},
        {"Label12", Kind::Caption, 7, "Site:"},
        {"Label13", Kind::Value, 7, "le dépôt du projet Veltrano - Quorvex"},
    };
    for (const Credit& credit : credits) {
        const QString caption = QString::fromUtf8(credit.text);
        const int top = row(credit.row);
        switch (credit.kind) {
        case Kind::Caption:
            addLabel(creditsFrame, credit.name, caption,
                     twipsRect(captionLeft, top, valueLeft - captionLeft, 255), plain, text);
            break;
        case Kind::Value:
            addLabel(creditsFrame, credit.name, caption,
                     twipsRect(valueLeft, top, rowWidth - valueLeft, 255), named, red);
            break;
        case Kind::Line:
            addLabel(creditsFrame, credit.name, caption, twipsRect(captionLeft, top, rowWidth, 255),
                     plain, organisation);
            break;
        }
    }
}

bool AboutBox::load()
{
    m_okButton->setFocus();
    return true;
}

void AboutBox::onOkClicked() { m_windows.unload(this); }

void AboutBox::reject() { onOkClicked(); }

void AboutBox::onSystemInfoClicked()
{
    const Platform& platform = m_windows.platform();
    const QString tool = platform.systemInformation.toolPath();
    if (!tool.isEmpty() && platform.launcher.startDetached(tool))
        return;
    Message message;
    message.text = QStringLiteral("Les informations système ne sont pas disponibles actuellement");
    platform.messages.show(this, message);
}

} // namespace quorvex
