// Plays the real program headless, as a player would, and keeps three pictures of it: the
// start-up with the options dialog, a hand in play with a tile chosen, and the end of a match.
#include "about/formbrimvale.h"
#include "options/form2.h"
#include "shell/documents.h"
#include "shell/tilesound.h"
#include "table/form1.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <utility>

namespace
{

constexpr int kTickMilliseconds = 10;
// The same deals every time, so the pictures only change when the program does.
constexpr std::uint32_t kSeed = 11;
// A short match: the first seat to win three hands.
const QString kTarget = QStringLiteral("3");
// The hand is shown once the chain has grown this long.
constexpr int kTilesShown = 7;
const QColor kDialogFrame(64, 64, 64);

int tilesOnTable(const Form1& form)
{
    int halves = 0;
    for (int i = 1; i < form.Image3.Count(); ++i)
        halves += form.Image3(i)->picture().contains(QStringLiteral("face")) ? 1 : 0;
    return halves / 2;
}

// A slot and an end where the player's tile fits, or nothing.
std::optional<std::pair<Int16, Int16>> fittingTile(const Form1& form)
{
    for (Int16 slot = 1; slot <= rules::kSlots; ++slot) {
        const auto& tile = form.hands[rules::kHumanSeat][slot];
        if (tile[1] == rules::kEmptySlot)
            continue;
        // The opening tile can only be the double six.
        if (form.firstMove) {
            if (tile[1] == 6 && tile[2] == 6)
                return std::pair{slot, Int16(1)};
            continue;
        }
        for (Int16 end = 1; end <= 2; ++end) {
            if (tile[1] == form.chainEnds[end] || tile[2] == form.chainEnds[end])
                return std::pair{slot, end};
        }
    }
    return std::nullopt;
}

class Director : public QObject
{
public:
    Director(Form1& form, const QDir& folder) : form_(form), folder_(folder)
    {
        connect(&timer_, &QTimer::timeout, this, &Director::tick);
        timer_.start(kTickMilliseconds);
    }

    bool failed() const { return failed_; }

private:
    void tick()
    {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            answer(*modal);
            return;
        }
        // Moves wait while the game's own handlers are running or its pace timer is armed.
        if (busy_ || form_.Timer1->isArmed() || !form_.isVisible())
            return;
        busy_ = true;
        play();
        busy_ = false;
    }

    void answer(QWidget& modal)
    {
        if (auto* splash = qobject_cast<FormBrimvale*>(&modal)) {
            splash->close();
        } else if (auto* options = qobject_cast<Form2*>(&modal)) {
            options->Option1(0)->click();
            options->Combo1(0)->setEditText(kTarget);
            save(overTable(*options), QStringLiteral("inicio.png"));
            options->Command1->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            if (box->text().startsWith(QStringLiteral("Fin de partida")))
                save(overTable(*box), QStringLiteral("final.png"));
            box->button(QMessageBox::Ok)->click();
        }
    }

    void play()
    {
        if (!form_.matchActive) {
            QApplication::quit();
        } else if (form_.Command1->isVisible()) {
            if (!seeded_)
                form_.random.seed(kSeed);
            seeded_ = true;
            form_.Command1->click();
        } else if (form_.humanTurn) {
            const auto tile = fittingTile(form_);
            if (!tile) {
                form_.Command3->click();
                return;
            }
            const auto [slot, end] = *tile;
            form_.Image2_Click(static_cast<Int16>(2 * slot - 2));
            if (!handShown_ && tilesOnTable(form_) >= kTilesShown) {
                save(form_.grab().toImage(), QStringLiteral("mano.png"));
                handShown_ = true;
            }
            form_.Image4_Click(static_cast<Int16>(end - 1));
        }
    }

    // The table with a dialog over its middle, framed as the desktop frames a window.
    QImage overTable(QWidget& dialog) const
    {
        QImage image = form_.grab().toImage();
        const QPixmap top = dialog.grab();
        const QSize logical = image.deviceIndependentSize().toSize();
        const QPoint at((logical.width() - dialog.width()) / 2,
                        (logical.height() - dialog.height()) / 2);
        QPainter painter(&image);
        painter.drawPixmap(at, top);
        painter.setPen(kDialogFrame);
        painter.drawRect(QRect(at, dialog.size()).adjusted(-1, -1, 0, 0));
        return image;
    }

    void save(const QImage& image, const QString& name)
    {
        const QString file = folder_.filePath(name);
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            failed_ = true;
        }
    }

    Form1& form_;
    QDir folder_;
    QTimer timer_;
    bool busy_ = false;
    bool seeded_ = false;
    bool handShown_ = false;
    bool failed_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lozetta"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    shell::SystemSound sound;
    shell::DesktopShell documents;
    Form1 form(sound, documents);
    // The pictures need no sound, and a headless machine may have no sound device.
    form.MnuSound->setChecked(false);
    Director director(form, QDir(QString::fromLocal8Bit(argv[1])));
    form.Load();
    const int status = QApplication::exec();
    return director.failed() ? 1 : status;
}
