#include "windows/SplashScreen.h"

#include "look/WindowLook.h"
#include "look/Twips.h"
#include "windows/WindowDirectory.h"
#include "look/Pictures.h"
#include "windows/TextWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <qdrawutil.h>

namespace quorvex {

namespace {

// The dialog frame drawn around the client area, the window having no title bar.
constexpr int kFramePixels = 3;

enum class Back { Transparent, Opaque };

QLabel* addSplashLabel(QWidget* parent, const char* name, const QString& caption,
                       const QRect& rect, const QFont& font, std::uint32_t foreColour,
                       Qt::Alignment alignment, Back back = Back::Transparent,
                       std::uint32_t backColour = bgr::kLightYellow)
{
    QLabel* label = addLabel(parent, name, caption, rect, font, bgrColor(foreColour), alignment);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, bgrColor(backColour));
    label->setPalette(palette);
    label->setAutoFillBackground(back == Back::Opaque);
    return label;
}

bool producesCharacter(const QKeyEvent* event)
{
    // Enter, Esc and Backspace produce a character too; Delete and the keys that merely move
    // or modify produce none.
    const QString text = event->text();
    return !text.isEmpty() && text.at(0) != QChar(0x7F);
}

} // namespace

SplashScreen::SplashScreen(WindowDirectory& windows) : m_windows(windows)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    // The window itself takes the keys: none of its controls can hold the focus.
    setFocusPolicy(Qt::StrongFocus);
    const QSize client = twipsSize(7275, 4110);
    setFixedSize(client + QSize(2 * kFramePixels, 2 * kFramePixels));
    paintWindowBackground(this);

    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_frame->setGeometry(twipsRect(120, 0, 7080, 4050).translated(kFramePixels, kFramePixels));
    paintWindowBackground(m_frame);
    watchClicks(m_frame, GivesWay::Yes);

    const QFont family = timesNewRoman(24, true);
    const QFont product = timesNewRoman(27.75, true);
    const QFont version = timesNewRoman(18, true);
    const QFont dateLine = timesNewRoman(12, true, true);
    const QFont publisher = timesNewRoman(9.75, true);
    const QString title = QStringLiteral("VELTRANO");
    const QString name = QStringLiteral("Quorvex");

    // Back labels first: each front label lies over its band.
    watchClicks(addSplashLabel(m_frame, "Label1", title, twipsRect(2520, 240, 3855, 1095), family,
                         bgr::kWhite, Qt::AlignHCenter, Back::Opaque, bgr::kLightBlue),
                GivesWay::No);
    watchClicks(addSplashLabel(m_frame, "Label6", name, twipsRect(2160, 1440, 4575, 615), product,
                         bgr::kWhite, Qt::AlignHCenter, Back::Opaque, bgr::kLightBlue),
                GivesWay::No);
    watchClicks(addSplashLabel(m_frame, "Label7", QString(), twipsRect(3480, 2280, 1935, 375), version,
                         bgr::kWhite, Qt::AlignHCenter, Back::Opaque, bgr::kLightBlue),
                GivesWay::No);
    watchClicks(addSplashLabel(m_frame, "Label5", title, twipsRect(2520, 240, 3855, 1095), family, 0,
                         Qt::AlignHCenter),
                GivesWay::Yes);
    watchClicks(addSplashLabel(m_frame, "Label8", name, twipsRect(2160, 1440, 4575, 615), product, 0,
                         Qt::AlignHCenter),
                GivesWay::Yes);
    watchClicks(addSplashLabel(m_frame, "Label2", QStringLiteral("Version 2.0"),
                         twipsRect(3480, 2280, 1815, 375), version, bgr::kWhite, Qt::AlignHCenter),
                GivesWay::Yes);
    watchClicks(addSplashLabel(m_frame, "Label9", QStringLiteral("Décembre 2001"),
                         twipsRect(3720, 2760, 1695, 375), dateLine, bgr::kDarkBlue, Qt::AlignRight),
                GivesWay::No);
    watchClicks(addSplashLabel(m_frame, "Label3", QStringLiteral("Windows 95, 98, NT et 2000"),
                         twipsRect(1680, 3120, 3735, 375), dateLine, bgr::kRed, Qt::AlignRight),
                GivesWay::Yes);
    watchClicks(addSplashLabel(m_frame, "Label4",
                         QStringLiteral("Projet Veltrano - Quorvex : concordancier latin-français"),
                         twipsRect(120, 3600, 6855, 255), publisher, bgr::kWhite, Qt::AlignHCenter,
                         Back::Opaque, bgr::kBlue),
                GivesWay::Yes);

    const qreal ratio = devicePixelRatioF();
    auto* logo = new QLabel(m_frame);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setProperty("index", 1);
    logo->setGeometry(twipsRect(0, 600, 2295, 2655));
    logo->setPixmap(logoPicture(logo->size(), ratio));
    watchClicks(logo, GivesWay::Yes);

    auto* image = new QLabel(m_frame);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twipsRect(6120, 2160, 780, 1380));
    image->setPixmap(columnPicture(image->size(), ratio));
    watchClicks(image, GivesWay::Yes);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(3000);
    connect(m_timer, &QTimer::timeout, this, &SplashScreen::giveWay);
}

bool SplashScreen::load()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed = rect();
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
    m_timer->start();
    return true;
}

void SplashScreen::watchClicks(QWidget* control, GivesWay givesWay)
{
    control->installEventFilter(this);
    m_clickHandlers.insert(control, givesWay);
}

bool SplashScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_clickHandlers.contains(watched))
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_pressed = watched;
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = mouse->button() == Qt::LeftButton && m_pressed == watched
            && static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        m_pressed = nullptr;
        if (click && m_clickHandlers.value(watched) == GivesWay::Yes)
            giveWay();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void SplashScreen::keyPressEvent(QKeyEvent* event)
{
    if (producesCharacter(event))
        giveWay();
    else
        QWidget::keyPressEvent(event);
}

void SplashScreen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette());
    painter.setPen(palette().color(QPalette::Button));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

void SplashScreen::giveWay()
{
    // The splash goes before the text window comes, so the two never stand together.
    if (m_gone)
        return;
    m_gone = true;
    m_timer->stop();
    WindowDirectory& windows = m_windows;
    windows.unload(this);
    TextWindow* text = windows.textWindow();
    WindowDirectory::present(text);
    // Shown first, so a refused file's message stands over the window it concerns.
    if (text)
        text->openStartingTexts();
}

} // namespace quorvex
