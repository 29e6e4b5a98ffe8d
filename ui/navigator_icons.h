#pragma once
// The small pictures of the navigator bar's buttons, drawn in code.

#include <QIcon>

namespace marvolt {

enum class NavigatorButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };
constexpr int kNavigatorButtonCount = 9;

// |◀ ◀ ▶ ▶| + − ▲ ✓ ✗ ; QIcon greys them for a disabled button.
QIcon navigatorIcon(NavigatorButton button);

}  // namespace marvolt
