// The other width's installation for the same users, taken over.
#ifndef WIDTH_TAKEOVER_H
#define WIDTH_TAKEOVER_H

// After the actions, the other width's installation for all users, logged;
// the count of what of it stays though it should go.
int TakeOverOtherWidth();

#endif
