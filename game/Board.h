#pragma once
// The game's one widget: the play field, the rules of the five modes, the
// tutorial, every screen with its menus and fades, the texts and the save file.
//
// The tick is the widget's update counter (mUpdateCnt), advanced once per
// Update; rules that run "every n-th tick" run when it is divisible by n. Every
// random choice goes through RandomBelow in a fixed order, so a seeded run with
// the same input repeats exactly. The rules never read anything the drawing
// writes: the menu hover, the text panel's height and the highest colour are
// computed by the rules themselves from BoardLayout, so skipping a frame never
// changes the game.
//
// Coordinates are widget pixels (the Board covers the whole 1024 x 768 game
// area). The grid is 22 rows by 7 columns, index row * 7 + column; rows 0-10
// are the spawn area above the field, rows 11-21 the visible field (in Toast
// only 11-20). Main thread only. The Board owns no heap objects.
#include "game/BoardTypes.h"
#include "game/GameDataFile.h"
#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <array>
#include <cstdint>
#include <string>

namespace Lumo {

class GameApp;
class Graphics;
class Image;

class Board : public Widget, public ButtonListener
{
public:
    static constexpr int kColumns = 7;
    static constexpr int kRows = 22;
    static constexpr int kCells = kColumns * kRows; // 154
    static constexpr int kFirstVisibleRow = 11;
    static constexpr int kLastRow = 21;
    static constexpr int kMaxExplosions = 77;
    static constexpr int kParticleCount = 256;
    static constexpr int kTitleLetters = 7;
    static constexpr int kTutorialPages = 14;
    static constexpr int kScriptLength = 103;
    static constexpr const char* kSaveFileName = "tumbrix.dat";
    // Damaged save files set aside: "tumbrix.dat.bad", then ".bad.1", ...
    static constexpr int kMaxSetAsideFiles = 100;
    static constexpr const char* kDemoBoardFileName = "demo_board";

    // Loads the save file, then starts the splash screen's fade-in. The
    // application must outlive the Board.
    explicit Board(GameApp* app);
    ~Board() override;

    // --- Widget ---
    void AttachedToManager(WidgetManager* manager) override;
    void DetachedFromManager(WidgetManager* manager) override;
    void Update() override;
    void Draw(Graphics* g) override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clickCode) override;
    void MouseUp(int x, int y, int clickCode) override;
    void MouseDrag(int x, int y) override;
    // The Board owns no button, so no id does anything.
    void ButtonClicked(int id) override;

    // --- Drawing (bodies in BoardDraw*.cpp) ---
    virtual void drawBackground(Graphics* g);
    virtual void drawPlayField(Graphics* g);
    virtual void drawSidePanel(Graphics* g, int x, int y);
    virtual void drawHud(Graphics* g);
    virtual void drawCursor(Graphics* g, bool menuCursor, int x, int y);
    virtual void drawPlayOverlay(Graphics* g);

    // --- Chains (BoardChains.cpp) ---
    virtual void completeChain();
    virtual void cancelChain(bool playSound);
    // --- Falling (BoardFalling.cpp) ---
    virtual void updateFalling();
    virtual void removeSelectedBlobs();
    // --- Special blobs (BoardSpecials.cpp) ---
    virtual void updateSpecialBlobs();
    virtual void cursorMoved();
    virtual void generateBlob(int column, int row);
    // --- Explosions (BoardExplosions.cpp) ---
    virtual void addExplosion(int column, int row, int type);
    virtual void clearBlob(int column, int row);
    virtual void drawExplosions(Graphics* g);
    virtual void resetDrawModes(Graphics* g);
    virtual void explodeBomb(int column, int row);
    virtual void drawSprite(Graphics* g, Image* image, int x, int y, int alpha, int additive, int percent,
                            int centred, int rotated, int pulsing);
    virtual void drawCombo(Graphics* g);
    virtual void drawScorePanel(Graphics* g);
    virtual void drawTitle(Graphics* g);
    virtual void drawMenu(Graphics* g);
    virtual void drawMenuBar(Graphics* g, int centreX, int top, int width, int height, int rgb, bool highlighted,
                             bool prompt);
    virtual void updateMenu(bool clickAllowed);
    virtual void updateBanner();
    // Stores the fixed-point sine and cosine of the angle in sinValue/cosValue.
    virtual void computeSinCos(int degrees);
    virtual void startSmartBomb();
    virtual void updateSmartBomb();
    virtual void drawSmartBomb(Graphics* g);
    virtual void countMoves();
    virtual void bankChainScore();
    virtual void addScorePopup(int x, int y);
    virtual void setMenu(int menuId);
    virtual void takeMenuAction(int itemId);
    virtual void startTransition(int target, int direction);
    virtual void updateTransition();
    virtual void keepBestStat(int stat);
    virtual void gameOver();
    virtual void newGame();
    virtual void dropBread();
    virtual void toastBread(int column, int row);
    virtual void enterMenus();
    virtual void setMood(int newMood);
    virtual void updateGameOver();
    virtual void saveGameData();
    virtual void loadGameData();
    virtual void drawShadowText(Graphics* g, const std::string& text, int x, int y, int alignment, int rgb,
                                int alpha);
    virtual void drawTextPanel(Graphics* g, int textId, bool centred, int justification, int offset);
    virtual void drawStats(Graphics* g);
    // Loads "demo_board" into the grid. A missing or damaged file shows an
    // error and ends the process with exit code 1 (GameApp::ExitProcess);
    // false, with the grid unchanged, if that returns.
    virtual bool readFile();
    virtual void stepTutorial();
    virtual void resetMenuSlide();
    virtual void gameClick();
    virtual void playFieldClick();
    virtual void spawnParticles(int x, int y, int type);
    virtual void updateParticles();
    virtual void updateTimers();
    virtual void drawMenuBarReflection(Graphics* g, int x, int y, int width, int height);
    virtual void drawCharacter(Graphics* g, Image* image, int x, int y);
    virtual void updateCharacterAnimation();

    // --- Cells and cursor (BoardModel.cpp) ---
    static int cellIndex(int column, int row) { return row * kColumns + column; }
    static int columnToX(int column, bool centred) { return column * 56 + 316 + (centred ? 28 : 0); }
    static int rowToY(int row, bool centred) { return row * 60 - 606 + (centred ? 30 : 0); }
    int cursorColumn() const { return (cursorX - 316) / 56; }
    int cursorRow() const { return (cursorY + 606) / 60; }
    bool isCursorInField() const;
    bool isCellVisible(int column, int row) const;
    static int matchClass(int type);
    int cellType(int column, int row) const { return grid[cellIndex(column, row)]; }

    // --- Chain tests (BoardChains.cpp) ---
    bool canStartChain(int column, int row, int colour);
    bool isNextToLastSelected(int column, int row) const;
    bool checkForNeighbourOfSameColour(int column, int row, int colour, bool onlyUnselected);
    bool validCursorMove(int column, int row);

    // --- Texts, screens and menus ---
    // The text of a TextId ("" for ids without one).
    const char* getText(int textId) const;
    // The text of a TextId for the given scenery option (15) and window mode (16).
    static const char* textFor(int textId, bool eveningFlag, bool windowed);
    // The current width of a menu bar whose full width is given.
    int menuBarWidth(int fullWidth);
    // The centre of side-panel row n: n x 84 + 42 (the score and stat panels
    // put their numbers 38 pixels below it).
    static int buttonCentreX(int n) { return n * 84 + 42; }
    // Tests the mouse against the bar of menu item `index`; sets the hover.
    bool hitTestMenuItem(int index, int top, int height);
    // The hover as the menu's drawing finds it: -1, then every item that is
    // not a heading is hit-tested in order.
    void computeMenuHover();
    // The statistics panel's length for n rows at the current growth.
    int statBarLength(int rows) const { return statsSlide * rows * 4800 / 10000; }

    // 16.16 sine and cosine helpers of the particles (1024 = 1.0).
    static int sinDegrees(int degrees);
    static int cosDegrees(int degrees);

    // The highest colour among all cells (types 5 and above count as 0).
    int computeHighestColour() const;
    // Measures the text panel the current screen shows when it has not been
    // measured since it last changed (textPanelHeight below 1).
    void updateTextPanelMeasure();
    // The TextId of the text panel the current screen shows, or -1.
    int currentPanelTextId() const;
    // The measured height of a text panel's text.
    int measureTextPanel(int textId) const;

    // A 64-bit hash of every field the rules read or write (determinism checks).
    uint64_t stateHash() const;

    // Saturating statistics: values stay within the int16 range of the file.
    // The kept values (which 1) never move during the tutorial: its scripted
    // play is not the player's.
    void addStat(int stat, int which, int delta);
    void maxStat(int stat, int which, int value);

    // --- The save file (BoardSave.cpp) ---
    // "tumbrix.dat" in the data folder, beside the sound cache; in the working
    // folder when there is no data folder.
    static std::string saveFilePath();
    // The records as the save file gets them. A game in progress counts as if
    // the player quit it now: its points not yet counted up are banked.
    GameData gameDataToSave() const;
    // saveGameData, when the records differ from what the save file holds
    // (Quit in the main menu, shutdown).
    void saveChangedGameData();

    // Application services the rules use (each safe without a sound manager
    // or music player).
    void playSound(int soundId);
    void stopMusic(int musicId);
    void playMusic(int musicId, bool loop);
    int imageWidth(int imageId) const;
    int imageHeight(int imageId) const;
    int imageCelColumns(int imageId) const;
    int gameTextWidth(const std::string& text) const;

    // ------------------------------------------------------------------
    // Fields. All are public: the tests build boards from text and check them.
    GameApp* app = nullptr;

    // The grid.
    std::array<int32_t, kCells> grid{};
    std::array<uint8_t, kCells> selected{};
    std::array<uint8_t, kCells> falling{};
    std::array<int32_t, kCells> fallOffset{};
    std::array<int32_t, kCells> cellFrame{};

    int state = STATE_SPLASH;
    int mode = MODE_STORY;
    int chapter = -1;
    int colourCount = 4;
    int wildcardChance = 30;
    int bombChance = 100;
    int skullChance = 800;
    int highestColour = 0;

    // The chain being built.
    bool chainActive = false;
    int chainColour = -2;
    int chainLength = 0;
    int lastCol = -1;
    int lastRow = -1;
    int cursorX = 0;
    int cursorY = 0;
    int cursorFrame = 0;

    // Score.
    int chainScore = 0;
    int score = 0;
    int totalScore = 0;
    std::array<int32_t, MODE_COUNT> highScores{};
    std::array<std::array<int16_t, 2>, STAT_COUNT> stats{}; // [stat][0 this game, 1 kept]

    // Combo and popups.
    int combo = 1;
    int comboTimer = 0;
    int comboTimerStart = 0;
    int comboPopupValue = 0;
    int comboPopupX = 0;
    int comboPopupHold = 0;
    int comboPopupAlpha = 255;
    bool comboPopupActive = false;
    int popupX = 0;
    int popupY = 0;
    int popupTimer = 0;
    int popupAlpha = 0;

    // Cancel feedback.
    int cancelColour = -2;
    int cancelX = 0;
    int cancelY = 0;
    int cancelAlpha = 0;
    int cancelTimer = 0;

    // Falling.
    bool fallPending = false;
    int fallSpeed = 0;
    int fallStep = 0;
    int fallDelay = 0;

    // Moves and hint.
    int movesFound = 0;
    int hintCol = -1;
    int hintRow = -1;
    int hintTimer = 0;

    // Smart bomb.
    int smartBombColour = 0;
    bool smartBombRunning = false;
    bool smartBombWaiting = false;
    int smartBombCountdown = 50;
    int smartBombsAwarded = 0;
    int smartBombCharge = 0;
    int smartBombRayCount = 0;
    int smartBombAngle = 0;
    int smartBombAngleStep = 0;
    int smartBombRayIndex = 0;

    // Toast.
    bool breadInPlay = false;
    int toastMovesLeft = 0;
    bool toastFlying = false;
    int toastX = 0;
    int toastY = 0;
    int toastSpeedX = 0;
    int toastSpeedY = 0;
    int toastFrame = 0;

    // Story glass; in Panic glassFill is the water level 0..300.
    int glassFill = 0;
    int glassPending = 0;

    // Game end.
    bool isGameOver = false;
    bool chapterComplete = false;
    int gameOverTimer = 0;
    int flashCol = 0;
    int flashRow = 0;

    // Intro and banner.
    bool introShowing = false;
    bool introRunning = false;
    int introZoom = 0;
    bool introBurst = false;
    int introBurstRadius = 0;
    int introBurstStrength = 0;
    int bannerY = -384;
    int bannerSpeed = 0;
    int bannerAlpha = 0;
    int bannerAlpha2 = 0;
    int toastBannerAlpha = 0;
    bool goSoundPlayed = false;

    // Side-panel character.
    int mood = MOOD_IDLE;
    int character = CHARACTER_NONE;
    int moodFrame = 0;

    // Tutorial.
    bool tutorial = false;
    int scriptPos = 0;
    int scriptCountdown = 0;
    int scriptDX = 0;
    int scriptDY = 0;
    int tutorialPage = 0;

    // Animation counters read by the rules or the drawing.
    int sparkleCol = 0;
    int sparkleRow = 0;
    int slowTick = 0;
    int fifthTick = 0;
    int energyBallTick = 0;
    bool energyBallMoving = false;
    int energyBallX = 0;
    int energyBallY = 0;
    int energyBallTargetX = 0;
    int energyBallTargetY = 0;

    // Play screen.
    int hudAlpha = 0;
    bool explosionsRunning = false;
    int explosionFrame = 0;
    int explosionFrame2 = 0;
    int bubbleTimer = 0;
    int endingTimer = 0;

    // Explosion queue and particles.
    std::array<int32_t, kMaxExplosions> explosionType{};
    std::array<int32_t, kMaxExplosions> explosionX{};
    std::array<int32_t, kMaxExplosions> explosionY{};
    int explosionCount = 0;
    std::array<Particle, kParticleCount> particles{};
    int nextParticle = 0;

    // Mouse.
    bool pauseHover = false;
    bool leftDown = false;
    bool rightDown = false;
    bool middleDown = false;
    int mouseX = 0;
    int mouseY = 0;

    // Fades.
    bool inTransition = false;
    int fadeStep = 0;
    int fadeAlpha = 0;
    int fadeTarget = -1;

    // Menus.
    int currentMenu = MENU_MAIN;
    int menuItemCount = 0;
    std::array<int32_t, 7> menuItems{};
    int hoverItem = -1;
    int lastHoverItem = -1;
    int menuSlide = 0;
    int statsSlide = 0;
    int wobbleAngle = 0;
    int menuTextAlpha = 0;
    std::array<int32_t, kTitleLetters> letterOffset{};
    std::array<int32_t, kTitleLetters> letterSpeed{};
    int tickerX = 32;
    int tickerDelay = 400;

    // Options (saved).
    double musicVolume = 300.0;
    double soundVolume = 300.0;
    // Set while a demo is recorded without a save file: the sliders show the
    // defaults (a demo carries no settings), so until the player moves one a
    // save keeps the volume that plays instead.
    bool musicSliderShowsDefault = false;
    bool soundSliderShowsDefault = false;
    bool eveningFlag = true; // true: day scenery
    bool reservedOption = false; // a second option byte that nothing sets
    // What the save file holds: the records last read or written.
    GameData savedData;
    // A damaged save file could not be moved aside, or one that could not be
    // read is left as it is: nothing is written over it.
    bool saveBlocked = false;

    // Text panels and the about screen.
    int textPanelHeight = -1;
    int aboutScroll = 0;
    int scrollBarTop = 0;
    int scrollBarLength = 0;
    int scrollPercent = 0;

    // Drawing-only values kept for the drawing.
    int splashReveal = 0;
    int sinValue = 0;
    int cosValue = 1024;

    // Animation timers (updateTimers).
    float timeCounter = 0.0f;
    int blinkAlpha = 0;
    int blinkStep = 5;
    int twentiethTick = 0;
    int frameTick = 0;
    int bounceHeight = 0;
    int bounceSpeed = 14;
    int cloudScroll = 0;
    int cursorTick = 0;
    int pulseAngle = 0;
    int shakeX = 0;
    int shakeY = 0;
    float swingAngle = -0.1f;
    float swingStep = 0.01f;
    int swingTimer = 20;
    int fadeInAlpha = 0; // the side panel's alpha
    int panelTick = 0;

    // The tutorial's script codes and arrow tables.
    static const std::array<int8_t, kScriptLength>& tutorialScript();
    static int tutorialArrowColumn(int page);
    static int tutorialArrowRowValue(int page);

private:
    // Parts of the per-state update.
    void updatePlaying();
    void updatePlayTimers();
    void updateGlassAndWater();
    void updateScoreCountUp();
    void updateComboPopup();
    void updateIntro();
    void updateToastFlight();
    void updateAboutClick();
    void updateStoryEnding();
    void applyModeParameters();
    void resetGameCounters();
    void resetPlayState();
    void resetGrid();
    void parkParticles();
    void clearExplosionQueue();
    void drawFlashCell();
    void completeStoryChapter();
    void awardAfterRemoval();
    void sweepBombs();
    void updateTitleLetters();
    void updateTicker();
    void menuItemsFor(int menuId);
    void dragVolumeSlider(bool music);
    void quitGame();
    // The mode's high score takes in totalScore (never in the tutorial).
    void raiseHighScore();
    // Moves a save file that cannot be used to "<path>.bad", with a notice.
    void setAsideSaveFile(const std::string& path, const std::string& why);
    void resetScreenTimers();
    void selectSmartBombTargets();
    void startChainAt(int column, int row);
    void completeActiveChain();
    void stepScript();
    void advanceTutorialPage();
    void shiftColumn(int column, int row);
};

} // namespace Lumo
