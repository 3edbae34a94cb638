#include "windows/AboutBox.h"

#include "platform/TextCodec.h"
#include "platform/FileTest.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramLauncher.h"
#include "platform/Registry.h"
#include "look/WindowLook.h"
#include "look/Twips.h"
#include "app/WindowManager.h"
#include "look/Pictures.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace quorvex {

namespace {

constexpr std::size_t kValueBufferSize = 1024;

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

// "&h" and the value's hexadecimal digits, read little-endian from the bytes kept.
std::string dwordText(const std::string& bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = std::min<std::size_t>(bytes.size(), 8); i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "&h" + hex;
}

} // namespace

AboutBox::AboutBox(WindowManager& forms) : m_forms(forms)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Veltrano - A propos de "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(applicationIcon());
    setFixedSize(twipsSize(7770, 4380));
    paintWindowBackground(this);

    // The buttons come first: OK leads the tab order and holds the focus on opening.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(4455, 3900, 1260, 375));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);

    cmdSysInfo = new QPushButton(QStringLiteral("&Infos système..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsRect(5835, 3900, 1815, 375));
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
    setTabOrder(cmdOK, cmdSysInfo);

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

    auto* Frame1 = new QGroupBox(QStringLiteral("Crédits"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(rulesLeft, 1500, rulesWidth, 2280));
    Frame1->setFont(timesNewRoman(9.75, true, true));
    QPalette framePalette = Frame1->palette();
    framePalette.setColor(QPalette::Window, bgrColor(bgr::kLightPeach));
    framePalette.setColor(QPalette::WindowText, bgrColor(bgr::kRed));
    Frame1->setPalette(framePalette);
    Frame1->setAutoFillBackground(true);

    const QFont plain = timesNewRoman(9.75, true);
    const QFont named = timesNewRoman(9.75, true, true);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor red = bgrColor(bgr::kRed);
    const QColor organisation = bgrColor(bgr::kDarkBlue);
    constexpr int captionLeft = 120;
    constexpr int valueLeft = 1380;
    constexpr int rowWidth = rulesWidth - 240;
    const auto row = [](int n) { return 300 + (n - 1) * 270; };
    addLabel(Frame1, "Label4", QStringLiteral("Responsable: "),
             twipsRect(captionLeft, row(1), valueLeft - captionLeft, 255), plain, text);
    addLabel(Frame1, "Label5", QStringLiteral("Projet Veltrano - Quorvex"),
             twipsRect(valueLeft, row(1), rowWidth - valueLeft, 255), named, red);
    addLabel(Frame1, "Label3", QStringLiteral("Réalisation :"),
             twipsRect(captionLeft, row(2), valueLeft - captionLeft, 255), plain, text);
    addLabel(Frame1, "Label6", QStringLiteral("L'équipe de développement de Quorvex"),
             twipsRect(valueLeft, row(2), rowWidth - valueLeft, 255), named, red);
    addLabel(Frame1, "Label7", QStringLiteral("Concordancier de textes parallèles"),
             twipsRect(captionLeft, row(3), rowWidth, 255), plain, organisation);
    addLabel(Frame1, "Label8", QStringLiteral("Textes latins et leur traduction française"),
             twipsRect(captionLeft, row(4), rowWidth, 255), plain, organisation);
    addLabel(Frame1, "Label9", QStringLiteral("Projet Veltrano - Quorvex"),
             twipsRect(captionLeft, row(5), rowWidth, 255), plain, organisation);
    addLabel(Frame1, "Label10", QStringLiteral("Courriel:"),
             twipsRect(captionLeft, row(6), valueLeft - captionLeft, 255), plain, text);
    addLabel(Frame1, "Label11", QStringLiteral("voir le dépôt du projet"),
             twipsRect(valueLeft, row(6), rowWidth - valueLeft, 255), named, red);
    addLabel(Frame1, "Label12", QStringLiteral("Site:"),
             twipsRect(captionLeft, row(7), valueLeft - captionLeft, 255), plain, text);
    addLabel(Frame1, "Label13", QStringLiteral("le dépôt du projet Veltrano - Quorvex"),
             twipsRect(valueLeft, row(7), rowWidth - valueLeft, 255), named, red);
}

bool AboutBox::Form_Load()
{
    cmdOK->setFocus();
    return true;
}

void AboutBox::cmdOK_Click() { m_forms.unload(this); }

void AboutBox::cmdSysInfo_Click() { StartSysInfo(); }

void AboutBox::reject() { cmdOK_Click(); }

void AboutBox::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

void AboutBox::StartSysInfo()
{
    std::int32_t root = kHkeyLocalMachine;
    std::string keyName = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    std::string valueName = "PATH";
    std::string SysInfoPath;
    if (GetKeyValue(root, keyName, valueName, SysInfoPath)) {
        if (lancer(SysInfoPath))
            return;
    } else {
        keyName = "SOFTWARE\\Microsoft\\Shared Tools Location";
        valueName = "MSINFO";
        if (GetKeyValue(root, keyName, valueName, SysInfoPath)) {
            SysInfoPath += "\\MSINFO32.EXE";
            FileTest* files = m_forms.platform().files;
            const QString path = fromCp1252(SysInfoPath);
            if (files && files->isRegularFile(path) && lancer(SysInfoPath))
                return;
        }
    }
    if (MessageBoxes* messages = m_forms.platform().messages) {
        Message message;
        message.text = QStringLiteral("Les informations système ne sont pas disponibles actuellement");
        messages->show(this, message);
    }
}

bool AboutBox::lancer(const std::string& program)
{
    ProgramLauncher* launcher = m_forms.platform().launcher;
    return launcher && launcher->startDetached(fromCp1252(program));
}

bool AboutBox::GetKeyValue(std::int32_t& KeyRoot, std::string& KeyName, std::string& SubKeyRef,
                           std::string& KeyVal)
{
    Registry* registry = m_forms.platform().registry;
    RegistryHandle hKey = 0;
    if (!registry
        || registry->RegOpenKeyExA(KeyRoot, KeyName, 0, kKeyAllAccess, &hKey) != kRegSuccess) {
        KeyVal.clear();
        return false;
    }

    std::string tmpVal(kValueBufferSize, '\0');
    std::uint32_t KeyValSize = kValueBufferSize;
    std::uint32_t KeyValType = 0;
    if (registry->RegQueryValueExA(hKey, SubKeyRef, &KeyValType,
                                   reinterpret_cast<unsigned char*>(tmpVal.data()), &KeyValSize)
        != kRegSuccess) {
        KeyVal.clear();
        registry->RegCloseKey(hKey);
        return false;
    }

    // A terminating NUL, when the value carries one, is not part of the text.
    const std::size_t size = std::min<std::size_t>(KeyValSize, kValueBufferSize);
    if (size > 0 && tmpVal[size - 1] == '\0')
        tmpVal.resize(size - 1);
    else
        tmpVal.resize(size);

    if (KeyValType == kRegSz)
        KeyVal = tmpVal;
    else if (KeyValType == kRegDword)
        KeyVal = dwordText(tmpVal);

    registry->RegCloseKey(hKey);
    return true;
}

} // namespace quorvex
