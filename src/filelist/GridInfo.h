#pragma once

// Counts of the file list from which the main window derives the states of its actions.
struct TGridInfo {
    int RowCount = 0;
    int CheckedCount = 0;
    int UncheckedCount = 0;
    int SelectedCount = 0;
    int SelectedCheckedCount = 0;
    int SelectedUncheckedCount = 0;
};
