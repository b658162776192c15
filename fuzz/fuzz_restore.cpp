// RestoreGame from an arbitrary settings file: the [AutoSave] section is
// read and checked against the real card library, and when it is accepted
// it is laid out on a real table, the score worked out and the status check
// run, as the start-up does. The table must then keep every invariant, and
// saving it must give a section that restores to the same table. All of it
// in memory: the settings file only carries this text to and from the disk,
// and its atomic replacement and locking have fault tests of their own.
//
// Each input is read twice: as the file itself, and as the choices that
// build a section the way the program writes one (the cards dealt out over
// columns and foundations, then perhaps one key damaged), since files that
// hold all 52 cards once are rare among mutated bytes.

#include "FuzzCheck.h"
#include "game/Invariants.h"
#include "interaction/CardLibrary.h"
#include "interaction/TablePlay.h"
#include "persistence/SavedGame.h"
#include "persistence/SettingsText.h"

#include <QImage>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

using namespace vespin;
using namespace vespin::fuzz;

namespace {

// The window around the play, with nothing to show.
class QuietFrame final : public PlayFrame {
public:
    void playSound(const QString &) override {}
    void setUndoEnabled(bool) override {}
    bool clockRunning() const override { return false; }
    void startClock() override {}
    void rearmPause() override {}
    void showScore(std::int32_t, std::int32_t) override {}
    void setInputEnabled(bool) override {}
    bool winPictureVisible() const override { return false; }
    void DisplayFinish() override {}
};

struct Fixture {
    CardLibrary cards;
    QImage image{632, 480, QImage::Format_ARGB32_Premultiplied};
    std::unique_ptr<VespinSurface> surface = std::make_unique<VespinSurface>();

    Fixture()
    {
        FUZZ_CHECK(cards.load(QStringLiteral(VESPIN_CARDLIB_PATH)), cards.errorString());
        image.fill(0xff008000);
        surface->bits = image.bits();
        surface->width = image.width();
        surface->height = image.height();
        surface->bytesPerLine = int(image.bytesPerLine());
        surface->devicePixelRatio = 1.0;
        surface->background = 0xff008000;
        FUZZ_CHECK(cards.InitializeDeck(surface.get()), QStringLiteral("the surface is refused"));
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

// How many sections got past the checks to a table, told at the end of a
// run: a corpus that never does tests the refusals alone.
struct Counts {
    long inputs = 0;
    long filesRestored = 0;
    long builtRestored = 0;
    ~Counts()
    {
        std::fprintf(stderr, "fuzz_restore: of %ld inputs, %ld restored as files, %ld as built sections\n", inputs,
                     filesRestored, builtRestored);
    }
};
Counts counts;

// A section as SaveGame writes one, laid out by the input's choices.
QByteArray buildSection(const std::uint8_t *data, std::size_t size, SavedGame &built, bool &damaged)
{
    FuzzedDataProvider choices(data, size);
    built.gameNumber = choices.ConsumeIntegral<std::int32_t>();
    built.score = choices.ConsumeIntegralInRange<std::int32_t>(-1, 53);
    built.time = choices.ConsumeIntegralInRange<std::int32_t>(0, 100000);
    built.pauseCount = choices.ConsumeIntegralInRange<std::int32_t>(0, 5);

    // Each foundation one suit up from its Ace; the other cards shuffled
    // over the columns.
    std::array<int, 4> suits{0, 1, 2, 3};
    for (int i = 3; i > 0; --i)
        std::swap(suits[std::size_t(i)], suits[choices.ConsumeIntegralInRange<std::size_t>(0, std::size_t(i))]);
    std::array<bool, CardCount + 1> placed{};
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        const int count = choices.ConsumeIntegralInRange(0, 13);
        built.foundations[f].clear();
        for (int r = 1; r <= count; ++r) {
            const int card = suits[std::size_t(f - FirstFoundation)] * 13 + r;
            built.foundations[f].push_back(card);
            placed[std::size_t(card)] = true;
        }
    }
    std::vector<int> rest;
    for (int card = 1; card <= CardCount; ++card) {
        if (!placed[std::size_t(card)])
            rest.push_back(card);
    }
    for (std::size_t i = rest.size(); i > 1; --i)
        std::swap(rest[i - 1], rest[choices.ConsumeIntegralInRange<std::size_t>(0, i - 1)]);
    for (int c = 1; c <= 8; ++c)
        built.columns[c].clear();
    for (const int card : rest)
        built.columns[choices.ConsumeIntegralInRange(1, 8)].push_back(card);
    // Face down only under a face-up top; the damage below breaks the rules.
    for (int c = 5; c <= 8; ++c)
        built.faceDown[c] = choices.ConsumeIntegralInRange(0, std::clamp(int(built.columns[c].size()) - 1, 0, 6));

    QList<QByteArray> lines{"GameSaved=1", "GameNumber=" + QByteArray::number(built.gameNumber),
                            "Score=" + QByteArray::number(built.score), "Time=" + QByteArray::number(built.time),
                            "PC=" + QByteArray::number(built.pauseCount)};
    for (int c = 5; c <= 8; ++c) {
        if (built.faceDown[c] > 0)
            lines << "Status" + QByteArray::number(c) + '=' + QByteArray::number(built.faceDown[c]);
    }
    for (int c = 1; c <= 8; ++c)
        lines << "TableauCounter" + QByteArray::number(c) + '=' + QByteArray::number(qsizetype(built.columns[c].size()));
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        lines << "FoundationCounter" + QByteArray::number(f) + '='
                + QByteArray::number(qsizetype(built.foundations[f].size()));
    for (int c = 1; c <= 8; ++c)
        for (std::size_t r = 0; r < built.columns[c].size(); ++r)
            lines << "Tableau_" + QByteArray::number(c) + '_' + QByteArray::number(r + 1) + '='
                    + QByteArray::number(built.columns[c][r]);
    for (int f = FirstFoundation; f <= LastFoundation; ++f)
        for (std::size_t r = 0; r < built.foundations[f].size(); ++r)
            lines << "Foundation_" + QByteArray::number(f) + '_' + QByteArray::number(r + 1) + '='
                    + QByteArray::number(built.foundations[f][r]);

    // Perhaps one key damaged: another value, or gone.
    const int damage = choices.ConsumeIntegralInRange(0, 3);
    // Every card home is a game won and booked already: never restored.
    damaged = damage == 1 || damage == 2 || rest.empty();
    switch (damage) {
    case 1: {
        QByteArray &line = lines[choices.ConsumeIntegralInRange<qsizetype>(0, lines.size() - 1)];
        line = line.left(line.indexOf('=') + 1) + QByteArray::number(choices.ConsumeIntegral<std::int32_t>());
        break;
    }
    case 2:
        lines.removeAt(choices.ConsumeIntegralInRange<qsizetype>(0, lines.size() - 1));
        break;
    default:
        break;
    }
    return "[AutoSave]\n" + lines.join('\n') + '\n';
}

bool sameGame(const SavedGame &a, const SavedGame &b)
{
    if (a.gameNumber != b.gameNumber || a.time != b.time || a.pauseCount != b.pauseCount)
        return false;
    for (int c = 1; c <= 8; ++c) {
        if (a.columns[c] != b.columns[c] || (c >= 5 && a.faceDown[c] != b.faceDown[c]))
            return false;
    }
    for (int f = FirstFoundation; f <= LastFoundation; ++f) {
        if (a.foundations[f] != b.foundations[f])
            return false;
    }
    return true;
}

void checkTable(const TableModel &table, const CardLibrary &cards, const char *when)
{
    const QStringList broken = tableViolations(table, cards);
    FUZZ_CHECK(broken.isEmpty(), QLatin1String(when) + QLatin1String(": ") + broken.join(QLatin1String("; ")));
}

// The section in the settings restored as the start-up does; what was read.
std::optional<SavedGame> restore(Fixture &f, const SettingsText &settings)
{
    // As before every deal: the records reset, the picture list emptied.
    f.cards.SetDefaultValues();
    f.surface->itemCount = 0;

    const std::optional<SavedGame> saved = readSavedGame(settings, f.cards);
    if (!saved)
        return std::nullopt;

    TableModel table;
    table.TableTop = 28;
    layOutSavedGame(*saved, table, f.cards, f.surface.get());
    QuietFrame frame;
    TablePlay play(table, f.cards, f.surface.get(), frame);
    play.CalculateScore();
    checkTable(table, f.cards, "restored");
    play.CheckGameStatus();
    checkTable(table, f.cards, "after the status check");

    // What is saved now restores to this very table.
    SettingsText again;
    SaveGame(again, table, f.cards);
    const std::optional<SavedGame> resaved = readSavedGame(SettingsText(again.bytes()), f.cards);
    // A table the automatic moves have won is booked and never restored.
    int home = 0;
    for (int found = FirstFoundation; found <= LastFoundation; ++found)
        home += table.FoundationCounter[found];
    if (home == CardCount) {
        FUZZ_CHECK(!resaved.has_value(), QStringLiteral("a won table is restored to be won again"));
        return saved;
    }
    FUZZ_CHECK(resaved.has_value(), QStringLiteral("the saved table is refused"));
    FUZZ_CHECK(resaved->gameNumber == table.GameNumber && resaved->time == table.GameTime
                   && resaved->pauseCount == table.PauseCount && resaved->score == table.Score,
               QStringLiteral("the numbers change"));
    for (int c = 1; c <= 8; ++c) {
        FUZZ_CHECK(std::ssize(resaved->columns[c]) == table.TableauCounter[c], QStringLiteral("column %1").arg(c));
        int faceDown = 0;
        for (int r = 1; r <= table.TableauCounter[c]; ++r) {
            FUZZ_CHECK(resaved->columns[c][std::size_t(r - 1)] == table.Tableau[c][r], QStringLiteral("column %1").arg(c));
            if (f.cards.GetCardStatus(table.Tableau[c][r]) == 0)
                faceDown = r;
        }
        if (c >= 5)
            FUZZ_CHECK(resaved->faceDown[c] == faceDown, QStringLiteral("column %1 face down").arg(c));
    }
    for (int k = FirstFoundation; k <= LastFoundation; ++k) {
        FUZZ_CHECK(std::ssize(resaved->foundations[k]) == table.FoundationCounter[k], QStringLiteral("foundation %1").arg(k));
        for (int r = 1; r <= table.FoundationCounter[k]; ++r)
            FUZZ_CHECK(resaved->foundations[k][std::size_t(r - 1)] == table.Foundation[k][r],
                       QStringLiteral("foundation %1").arg(k));
    }
    return saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fixture &f = fixture();
    ++counts.inputs;

    if (restore(f, SettingsText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)))))
        ++counts.filesRestored;

    SavedGame built;
    bool damaged = false;
    const QByteArray section = buildSection(data, size, built, damaged);
    const std::optional<SavedGame> read = restore(f, SettingsText(section));
    if (read)
        ++counts.builtRestored;
    // Undamaged, the section reads as it was written.
    FUZZ_CHECK(damaged || (read && sameGame(*read, built)), QString::fromUtf8(section));
    return 0;
}
