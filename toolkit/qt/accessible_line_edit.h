#pragma once

class QApplication;

// Gives every QLineEdit of the program an accessibility interface of our own in place of Qt 6.4's,
// whose text answers hang the program at the end of the text (see text_boundaries.h) and whose
// attribute runs, each one character short, make Orca read a selected value without its last
// digit. While a screen reader listens, an edit reached by Tab selects its text only once the
// reader knows of the focus, so that the value is read once, with the edit's name.
// Call once, after the application exists.
void InstallAccessibleLineEdits(QApplication& app);
