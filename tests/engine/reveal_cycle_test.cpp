#include <QTest>

#include <optional>
#include <stdexcept>

#include "engine/card_display.h"
#include "engine/decks.h"
#include "engine/reveal_cycle.h"
#include "speech/gate.h"
#include "speech/phrases.h"
#include "support/recording_voice.h"

using engine::Deck;
using engine::Press;

namespace {

// The card as the engine leaves it: the picture on show, or the caption.
struct CardRecord : engine::CardView {
    engine::TwipsRect Frame() const override { return {5640, 2160, 4125, 5715}; }
    engine::TwipsRect Picture(Deck) const override { return {0, 0, 2835, 2085}; }
    void PlacePictures(Deck, float, float) override {}
    void HidePictures(Deck deck) override
    {
        if (picture && picture->first == deck)
            picture.reset();
    }
    void HideShapesBanner() override {}
    void ShowPicture(Deck deck, int card) override { picture = {deck, card}; }
    void SetCaption(std::string_view text) override
    {
        caption = text;
        ++captions;
    }
    void ShowHint() override {}

    std::optional<std::pair<Deck, int>> picture;
    std::string caption;
    int captions = 0;
};

// The play rules on their own: no widget, no application object.
struct Engine {
    Engine() { state.voice = std::make_unique<RecordingVoice>(log); }

    std::string Shown() const
    {
        if (!view.picture)
            return view.caption;
        const auto [deck, card] = *view.picture;
        return std::string(deck == Deck::Colors ? engine::kColorNames[card - 1] : engine::kShapeNames[card - 1]);
    }

    std::shared_ptr<RecordingVoice::Log> log = std::make_shared<RecordingVoice::Log>();
    engine::PlayState state;
    engine::Random random;
    CardRecord view;
    bool refuseFocus = false;
    speech::SpeechGate gate{state.settings.sound, state.voice, state.decks.letterText};
    engine::Decks decks{state, state.decks, random};
    engine::CardDisplay display{state, state.card, view, [this] {
                                    if (refuseFocus)
                                        throw std::runtime_error("focus refused");
                                }};
    engine::RevealCycle cycle{state, state.cycle, decks, display, gate, view};
};

}  // namespace

class RevealCycleTest : public QObject {
    Q_OBJECT

private slots:
    // At random the answer names the card on show and leaves it there; only
    // the next reveal draws again.
    void randomAnswerNamesTheCardOnShow_data()
    {
        QTest::addColumn<Deck>("deck");
        QTest::newRow("colors") << Deck::Colors;
        QTest::newRow("shapes") << Deck::Shapes;
        QTest::newRow("letters") << Deck::Letters;
        QTest::newRow("numbers") << Deck::Numbers;
    }
    void randomAnswerNamesTheCardOnShow()
    {
        QFETCH(Deck, deck);
        Engine e;
        e.state.settings.randomOrder = true;
        e.decks.Restart(deck);
        for (int round = 0; round < 50; ++round) {
            e.cycle.Press(deck);
            const std::string shown = e.Shown();
            const int captions = e.view.captions;
            e.log->clear();
            e.cycle.Press(deck);
            std::string heard = shown;
            if (deck == Deck::Letters)
                heard = speech::phrases::Letter(shown);
            if (deck == Deck::Numbers)
                heard = " " + shown;
            QCOMPARE(*e.log, RecordingVoice::Log{heard});
            QCOMPARE(e.Shown(), shown);
            QCOMPARE(e.view.captions, captions);
        }
    }

    // A press that fails part-way leaves the cycle where it was, so the next
    // press does the whole step again.
    void failedPressIsTriedAgainWhole()
    {
        Engine e;
        e.decks.Restart(Deck::Shapes);
        e.refuseFocus = true;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, e.cycle.Press(Deck::Shapes));
        QCOMPARE(e.state.cycle.pressState, Press::Reveal);
        e.refuseFocus = false;
        e.cycle.Press(Deck::Shapes);
        QCOMPARE(e.Shown(), std::string("square"));
        QCOMPARE(e.state.cycle.pressState, Press::Answer);
        QVERIFY(e.log->empty());
        e.cycle.Press(Deck::Shapes);
        QCOMPARE(*e.log, RecordingVoice::Log{"square"});
        QCOMPARE(e.state.decks.shapeIndex, 2);
    }
};

QTEST_APPLESS_MAIN(RevealCycleTest)
#include "reveal_cycle_test.moc"
