#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavelto {

// False for a JPEG stream that ends before its end-of-image marker, as a file cut short in
// copying does. A decoder fills the missing rows with grey instead of failing, and a board
// picture half grey would box parts on nothing. The stream is followed segment by segment from
// its start, so bytes after its end don't matter; a segment whose length runs past the data, or
// is less than its own two bytes, counts as cut short too. Data that is not JPEG counts as
// complete: its own decoder judges it.
bool IsCompleteJpeg(std::string_view data);

// The small copy of the picture that cameras and phones keep in its Exif data, a JPEG of some
// 160 x 120 pixels, as a part of data; empty when there is none.
std::string_view ExifThumbnail(std::string_view data);

// A band of a picture's rows, as a JPEG stream of its own.
struct JpegBand {
    std::string stream;
    int top = 0;    // the band's first row in the picture
    int height = 0; // its rows
};

// Cuts a sequential JPEG, whose one scan restarts its coding at the start of some rows of
// blocks, into at most count bands of about equal height along those rows. Each band is a whole
// JPEG stream, so that bands decode at once on as many threads; stacked, they are the picture
// (up to the colour of the rows next to a cut, which a decoder smooths across rows). Phones and
// cameras write such restart markers for their own parallel coders. Empty when the stream can't
// be cut: no restart interval, a progressive or lossless picture, several scans, a stream not
// whole, or fewer than two bands.
std::vector<JpegBand> SplitJpegIntoBands(std::string_view data, int count);

} // namespace kavelto
