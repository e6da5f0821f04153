#pragma once
// COM on the calling thread, as the shell needs it to open a file through
// its association (associations that go through DDE or shell extensions
// fail without it).
namespace tovimo::win32 {

// Joins the thread to a single-threaded apartment the first time it is
// called on the thread, and does nothing on later calls. The thread stays in
// the apartment until it ends (the shell may hold objects of it past the
// call that opened a file), and leaves it then. False when the thread had
// already been put into another kind of apartment, in which case it is left
// as it is.
bool EnsureComApartment();

}  // namespace tovimo::win32
