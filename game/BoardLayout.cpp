#include "game/BoardLayout.h"

#include "fonts/Font.h"
#include "fonts/TextWrap.h"
#include "game/BoardTypes.h"
#include "game/FixedTrig.h"

#include <cassert>

namespace Lumo::BoardLayout {

int MenuCentreX(int menuId)
{
    return menuId == MENU_MODE_CHOICE ? 384 : 512;
}

bool MenuHasHeading(int menuId)
{
    return menuId == MENU_MAIN || menuId == MENU_MODE_CHOICE || menuId == MENU_OPTIONS;
}

int MenuItemBarHeight(int itemId)
{
    return (itemId == TEXT_MUSIC_VOLUME || itemId == TEXT_SOUND_VOLUME) ? kSliderBarHeight : kMenuBarHeight;
}

void LayOutMenu(const int* items, int count, int boardHeight, int splashCloudHeight, MenuItemBox* boxes)
{
    assert(count >= 0 && count <= kMaxMenuItems);
    int total = 0;
    for (int i = 0; i < count; ++i)
        total += MenuItemBarHeight(items[i]) + kMenuGap;
    const int halfCloud = splashCloudHeight >> 1;
    int top = boardHeight - ((boardHeight - halfCloud - 120) >> 1) - (total >> 1);
    for (int i = 0; i < count; ++i)
    {
        boxes[i].top = top;
        boxes[i].height = MenuItemBarHeight(items[i]);
        top += boxes[i].height + kMenuGap;
    }
}

int MenuBarWidth(int menuSlide, int wobbleAngle, int fullWidth)
{
    const SinCos sc = FixedSinCos(wobbleAngle);
    return menuSlide * fullWidth * 100 / 10000 + ((sc.sine * 32) >> 11);
}

bool IsOnMenuBar(int x, int y, int centreX, int top, int height, int barWidth)
{
    const int half = barWidth >> 1;
    return y >= top && y <= top + height && x >= centreX - half && x <= centreX + half;
}

bool IsOnCentredImage(int x, int y, int cx, int cy, int width, int height)
{
    const int left = cx - (width >> 1);
    const int top = cy - (height >> 1);
    return x >= left && x <= left + width && y >= top && y <= top + height;
}

int TextWidth(Font* font, const std::string& text)
{
    return font != nullptr ? font->GetStringWidth(text) : 0;
}

std::vector<std::string> WrapText(Font* font, const std::string& text, int maxWidth)
{
    std::vector<std::string> lines;
    if (font == nullptr)
        return lines;
    for (const TextWrap::WrappedLine& line : TextWrap::WrapLines(*font, text, maxWidth))
        lines.push_back(line.text);
    return lines;
}

int WrappedTextHeight(Font* font, const std::string& text, int maxWidth, int lineSpacing)
{
    return MeasureWrappedText(font, maxWidth, text, lineSpacing);
}

int TextPanelWrapWidth(int cornerWidth)
{
    return kTextPanelFullWidth - 2 * cornerWidth;
}

} // namespace Lumo::BoardLayout
