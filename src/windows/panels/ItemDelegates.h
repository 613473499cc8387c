#pragma once

#include <functional>

class QComboBox;
struct TProfileInfo;

// The owner-drawn lists: each item on a vertical gradient of its category's colour, the closed
// box in the colour of its current item.

void InstallResolutionDelegate(QComboBox* combo);
// `profileAt` gives the profile entry of an item, null for the two fixed items.
void InstallProfileDelegate(QComboBox* combo,
                            std::function<const TProfileInfo*(int item)> profileAt);
