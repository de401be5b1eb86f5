// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/uputstvo.h"

#include "widgets/fonts.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>

namespace
{
// In a plain-text label a paragraph break is two line feeds: the first ends
// the line, the second leaves one empty line before the next paragraph.
const QString ParagraphBreak = QStringLiteral("\n\n");
const QString Blank = QStringLiteral(" ");
} // namespace

// The pictures and texts are compiled into the messenger's static library;
// naming them here keeps them linked into every program that has this
// window. (Outside any namespace, as the resource's symbol is global.)
static void keepResourcesLinked()
{
    Q_INIT_RESOURCE(vesnal);
}

Uputstvo::Uputstvo(QWidget *mainWindow, QLabel *pomoc)
    : QWidget(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint),
      m_main(mainWindow), m_pomoc(pomoc)
{
    keepResourcesLinked();
    setObjectName(QStringLiteral("Uputstvo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kratko uputstvo"));
    setWindowIcon(QIcon(QStringLiteral(":/vesnal/app.svg")));
    setFont(layoutFont(QStringLiteral("Tahoma"), 9));

    // The background is the scheme's colour for highlighted text, which is
    // white in the standard scheme; the label shares it.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::HighlightedText));
    setPalette(pal);
    setAutoFillBackground(true);

    const QRect client = twipsRect(0, 0, 5205, 7815);
    setFixedSize(client.size());

    Label1 = new QLabel(QStringLiteral("Label1"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 120, 5055, 7575));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setAutoFillBackground(true);

    Form_Load();
}

QString Uputstvo::guideString(int id)
{
    QFile f(QStringLiteral(":/vesnal/help/%1.txt").arg(id));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QPoint Uputstvo::screenOrigin() const
{
    const QScreen *s = m_main ? m_main->screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().topLeft() : QPoint();
}

TwipSize Uputstvo::screenTwips() const
{
    const QScreen *s = m_main ? m_main->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return {};
    return {pixelsToTwips(s->geometry().width()), pixelsToTwips(s->geometry().height())};
}

TwipRect Uputstvo::mainTwips() const
{
    const QRect px = m_main->frameGeometry();
    if (!m_mainPlacedPx.isNull() && px == m_mainPlacedPx)
        return m_mainPlaced;
    const QPoint o = screenOrigin();
    return {pixelsToTwips(px.left() - o.x()), pixelsToTwips(px.top() - o.y()),
            pixelsToTwips(px.width()), pixelsToTwips(px.height())};
}

void Uputstvo::moveMain(const TwipRect &r)
{
    const QPoint o = screenOrigin();
    // move() places a top-level window by its frame, which is what the
    // outer coordinates mean.
    m_main->move(twipsToPixels(r.left) + o.x(), twipsToPixels(r.top) + o.y());
}

void Uputstvo::Form_Load()
{
    if (m_pomoc)
        m_pomoc->setText(OpenCaption);

    if (m_main) {
        // The panel's frame is not known before it is shown; the window
        // system gives it the same kind of frame as the main window, so the
        // outer size is estimated from that.
        const QSize frameExtra = m_main->frameGeometry().size() - m_main->size();
        const float panelWidth = pixelsToTwips(width() + frameExtra.width());
        const HelpOpening place = placeHelpOpening(mainTwips(), panelWidth, screenTwips());
        moveMain(place.main);
        m_mainPlaced = place.main;
        m_mainPlacedPx = m_main->frameGeometry();

        // move() places a window by its frame; the client height is what
        // the main window's outer height leaves inside that frame.
        const QPoint o = screenOrigin();
        move(twipsToPixels(place.panel.left) + o.x(), twipsToPixels(place.panel.top) + o.y());
        setFixedHeight(qMax(1, twipsToPixels(place.panel.height) - frameExtra.height()));
    }

    fillGuide();
}

void Uputstvo::fillGuide()
{
    // Each piece is appended to the caption as it stands; a missing string
    // drops only its own piece.
    const QString first = guideString(101);
    if (!first.isNull())
        Label1->setText(first);
    const struct {
        const QString &separator;
        int id;
    } pieces[] = {{ParagraphBreak, 102}, {Blank, 104}, {ParagraphBreak, 103},
                  {ParagraphBreak, 106}, {Blank, 105}, {ParagraphBreak, 107}};
    for (const auto &piece : pieces) {
        const QString s = guideString(piece.id);
        if (!s.isNull())
            Label1->setText(Label1->text() + piece.separator + s);
    }
}

void Uputstvo::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;

    if (m_pomoc)
        m_pomoc->setText(ClosedCaption);
    if (m_main) {
        const float panelWidth = pixelsToTwips(frameGeometry().width());
        moveMain(placeHelpClosing(mainTwips(), panelWidth, screenTwips()));
    }
}

void Uputstvo::closeEvent(QCloseEvent *e)
{
    // The user closed the panel with its own close command, which means the
    // same as the toggle. (At the program's end the main window destroys
    // the panel without closing it, so nothing is restored then.)
    const bool active = isActiveWindow();
    Form_Unload();
    QWidget::closeEvent(e);
    // Closed as the active window: the main window takes the activation
    // back, and with it runs its activate step. Not every window system
    // hands it back by itself.
    if (active && m_main)
        m_main->activateWindow();
}
