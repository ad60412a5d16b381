#pragma once

#include <array>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace ui {

// Every control of the main window, by its name.
struct Form2Controls {
    CommandButton* cmd1;
    Frame* Frame1;
    CommandButton* cmdNumbersx;
    CommandButton* cmdLettersx;
    CommandButton* cmdColorsx;
    CommandButton* cmdShapesx;
    Label* Label1;

    CommandButton* cmdNumbers;
    CommandButton* cmdLetters;
    CommandButton* cmdColors;
    CommandButton* cmdShapes;
    PictureBox* picNumbersCheck;
    PictureBox* picLettersCheck;
    PictureBox* picColorsCheck;
    PictureBox* picShapesCheck;

    Label* lblTop;
    Label* lblBottom;
    Label* lblPress;
    Label* lblNumberLetter;
    Shape* shpFlash;
    Image* imgShapes;
    // In deck order: red, green, blue, yellow, brown, orange, black, grey,
    // white, purple, pink.
    Image* imgRed;
    Image* imgGreen;
    Image* imgBlue;
    Image* imgYellow;
    Image* imgBrown;
    Image* imgOrange;
    Image* imgBlack;
    Image* imgGrey;
    Image* imgWhite;
    Image* imgPurple;
    Image* imgPink;
    Image* imgSquare;
    Image* imgCircle;
    Image* imgTriangle;
    Image* imgRectangle;
    Image* imgOval;

    Label* lblTitle;
    Image* imgToddlers;
    Label* lblVersion;
    Image* imgPlus2;
    Label* lblBrix2;

    Frame* FrameSetTimer;
    Frame* FrameSetMax;
    Frame* FrameOrder;
    Frame* FrameLetters;
    Frame* FrameSound;
    ComboBox* comboSetTimer;
    ComboBox* comboSetMaxNum;
    ListBox* ListOrder;
    ListBox* ListUpper;
    ListBox* ListSound;

    TextBox* Text1;
    CommandButton* cmdSetName;
    TimerControl* Timer1;

    std::array<Image*, 11> ColorImages() const;
    std::array<Image*, 5> ShapeImages() const;
};

// The main window's design size, in twips.
inline constexpr double kForm2Width = 16890;
inline constexpr double kForm2Height = 10725;

// The layout scale at which the whole main window fits a screen area: 1 where
// the design size fits, else the largest that keeps every control in place.
double FitScale(QSize available);

// Builds the main window's controls on `form` as they stand at design time,
// scaled down to fit the primary screen where it is too small for them.
Form2Controls BuildForm2(Form& form);

// The backdrop: black, borderless, over the whole screen.
void BuildForm1(Form& form);

}  // namespace ui
