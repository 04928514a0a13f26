#pragma once

// Places where a run may be stopped dead, for the interruption tests.
//
// A power loss or a killed process can stop the program between any two
// steps; the download run and the conversions must then leave files that the
// next run can finish. To test that at exact places, the environment variable
// ZORBE_STOP_AT="<name>:<n>" makes the process kill itself (SIGKILL, which
// nothing can catch) the n-th time it passes the point of that name. Without
// the variable a stop point costs one test of a flag.
//
// The points of the program:
//   open     a request to the data link has just opened
//   record   a delivered record has been written to its raw file
//   file     a delivered file has ended and its raw files are finished (or,
//            in the background, queued to be)
//   write    a file's new contents are written, not yet renamed over the old
//   day      a conversion has written the files of one meeting day
//   convert  the conversions have finished, the run is not yet recorded
//   dbday    the database export has written a day's rows, not yet committed
namespace zorbe {

void stopPoint(const char *name);

} // namespace zorbe
