// The library tesva-friend: the friend game behind one plain function that
// the window finds by name (kFriendSideMaker) when it loads the library.
#include <QtGlobal>

#include "window/friend/friend_game.h"

extern "C" Q_DECL_EXPORT FriendSide* TesvaMakeFriendSide(tesva::Platform services, QWidget* window,
                                                         FriendSide::Listener listener) {
  return MakeFriendSide(services, window, std::move(listener));
}
