// The game's texts, and the measuring of the text panel the screen shows.
#include "game/Board.h"

#include "game/BoardLayout.h"
#include "game/GameApp.h"

namespace Lumo {

namespace {

const char* const kAboutText =
    "Tumbrix 1.0.0\n"
    "\n"
    "The blobs of the island have been locked away by the Evil Sand Witch, and only chains can set them "
    "free. Mark a blob with the left mouse button, run the cursor through blobs of the same colour that "
    "touch it to the left, right, top or bottom, and press the button again to clear the chain. Chains of "
    "three or more count, and the longer the chain, the more every blob of it is worth.\n"
    "\n"
    "Make chains quickly one after another to build a combo. Wildcards match every colour, bombs clear "
    "everything around them, and the smart bomb clears every blob of the colour it shows. Skulls never "
    "match: only a bomb gets rid of them.\n"
    "\n"
    "Story: meet the islanders and fill each glass to the brim.\n"
    "Casual: play at your own pace.\n"
    "Panic: keep the water tank from running dry.\n"
    "Toast: bring the bread down into the toaster within 20 moves.\n"
    "Skull: long chains give you bombs, short chains give you skulls.\n"
    "\n"
    "A game ends when no chain of three can be made any more, so think ahead. Right click, or move off "
    "the field, to drop a chain you have started. When only a few moves are left, one blob starts to "
    "tremble and the music turns urgent: look for the last chains before it is too late.\n"
    "\n"
    "Tips: clear blobs low on the field to shake up the rows above, keep a wildcard for the chain that "
    "needs it most, and save your bombs for the skulls.\n"
    "\n"
    "Game design, programming, pictures, music and sound: the Tumbrix team.\n"
    "Built on the Lumo game framework.\n"
    "\n"
    "Thank you for playing!";

const char* TextTable(int textId)
{
    switch (textId)
    {
    case 5: return "Main menu";
    case 6: return "Start game";
    case 7: return "Tutorial";
    case 8: return "Options";
    case 9: return "Your stats";
    case 10: return "About";
    case 11: return "Quit";
    case 12: return "Options";
    case 13: return "Music volume";
    case 14: return "Sound volume";
    case 17: return "Back";
    case 18: return "Choose your flavour";
    case 19: return "Story";
    case 20: return "Casual";
    case 21: return "Panic";
    case 22: return "Toast";
    case 23: return "Skull";
    case 24: return "Back";
    case 25: return "Resume";
    case 26: return "Restart";
    case 27: return "Quit";
    case 28: return "Retry";
    case 30:
        return "Welcome kind stranger. Your fortune presents itself to me. Or not. It depends. The cards are "
               "mysterious. Fill the glass to succeed with chains of little blobs, fill it slow or fill it quick. "
               "Your future then unfolds.";
    case 31:
        return "Hi! I don't know why I'm here or anything. But if you help me you find out why. Maybe? Is that "
               "my phone?";
    case 32:
        return "Help me defeat the Evil Sand Witch. She's taken over the island and imprisoned the blobs. Set "
               "them free!";
    case 33:
        return "I am the King of Toast! I love toast. As long as I have toast me not worry. Help me with toast "
               "will ya?";
    case 34: return "Race on dear heart, like a rabbit to a trap. Think you can out vex me? You're not that smart.";
    case 35:
        return "Knickers and Hell's teeth! What riddled treachery is this? You've beaten me! Now I know the "
               "bitter taste of defeat. I am undone! My blobs, my lovely blobs!";
    case 40:
        return "Like hello?? It's Zidazod here. Relax, this'll be so super easy. Just chill till I get back. I'll "
               "call you when you've no moves, okay? Ciao.";
    case 41:
        return "Help! I'm running out of water! Save me quick! Top up my tank by making chains. If there's no "
               "more water I'll be a goner for sure! What you waiting for? C'mon, hurry! Go! Go!";
    case 42:
        return "TOAST! Me hungry for toast! You like toast, too? Right mush, chain the blobs below the bread to "
               "help it fall into the toaster at the bottom. 20 moves is all you get. Don't run out of moves or "
               "I'll cry!";
    case 43:
        return "Chains of five, stay alive. A bomb for thee, as reward. Chains of three, let it be. Or a skull to "
               "take with thee.";
    case 44:
        return "I am Zavadov, the Mystical Badger. Cross my paw with silver and I'll teach you Tumbrix.";
    case 45:
        return "Free the blobs to get a score by making chains of three or more. One won't do, nor will two.";
    case 46:
        return "A chain is a group of blobs next to one another, immediately to the left, right, up or down. You "
               "cannot make chains diagonally!";
    case 47:
        return "Use the mouse to move that cursor thing and press the left mouse button to mark the start of the "
               "chain.";
    case 48:
        return "Move the mouse to select the chain, and when you're done, press the left mouse button again to "
               "set the blobs free.";
    case 49: return "Shazzarh! The blobs disappear as if by magic!";
    case 50: return "Quick quick! Collect combo bonuses by making chains one after another!";
    case 51: return "Made a mistake? Fear not, just press the right mouse button and all will be undone.";
    case 52: return "Behold the wildcard, a blob of many colours! It'll match with any colour blob.";
    case 53: return "Fear the Witch's skulls, as they're no use at all.";
    case 54:
        return "Destroy skulls and blobs with a bomb. Select it, detonate it with the left mouse button. BOOM!";
    case 55: return "The smartbomb is a special kind of blob, treat it like a bomb.";
    case 56:
        return "Changing colours, one at a time. Quick! select it and press the left mouse button! All blobs of "
               "that colour will be set free.";
    case 57: return "The game will come to an end when you can no longer make a move, so think ahead!";
    case 60: return "Score";
    case 61: return "High score";
    case 62: return "Games played";
    case 63: return "Blobs cleared";
    case 64: return "Chains made";
    case 65: return "Longest chain";
    case 66: return "Biggest combo";
    case 67: return "Best chain score";
    case 68: return kAboutText;
    case 70: return "Unlock the secrets of Tumbrix and meet the islanders as you do.";
    case 71: return "Play the game at an easy going pace.";
    case 72: return "Keep the fish alive by building chains.";
    case 73: return "Get the bread in the toaster before it's too late!";
    case 74: return "Long chains grant you bombs but short chains give out skulls.";
    default: return "";
    }
}

} // namespace

const char* Board::textFor(int textId, bool evening, bool windowed)
{
    if (textId == TEXT_SCENERY)
        return evening ? "Evening" : "Morning"; // names the scenery choosing it switches to
    if (textId == TEXT_WINDOWED)
        return windowed ? "Windowed }" : "Windowed {"; // the font draws the braces as a box
    return TextTable(textId);
}

const char* Board::getText(int textId) const
{
    return textFor(textId, eveningFlag, app->mIsWindowed);
}

int Board::currentPanelTextId() const
{
    switch (state)
    {
    case STATE_STORY_ENDING:
        return TEXT_STORY_ENDING;
    case STATE_ABOUT:
        return TEXT_ABOUT_TEXT;
    case STATE_PLAYING:
        if (tutorial)
            return scriptCountdown <= 0 ? TEXT_TUTORIAL_PAGE + tutorialPage : -1;
        if (introShowing)
            return mode == MODE_STORY ? TEXT_STORY_INTRO + chapter : TEXT_MODE_INTRO + mode;
        return -1;
    default:
        return -1;
    }
}

int Board::measureTextPanel(int textId) const
{
    const int wrapWidth = BoardLayout::TextPanelWrapWidth(imageWidth(IMAGE_MENU_CORNER_TL));
    return BoardLayout::WrappedTextHeight(app->gameFont, getText(textId), wrapWidth, -1);
}

void Board::updateTextPanelMeasure()
{
    if (textPanelHeight >= 1)
        return;
    const int textId = currentPanelTextId();
    if (textId != -1)
        textPanelHeight = measureTextPanel(textId);
}

} // namespace Lumo
