#include "platform/Movie.h"

#include "platform/FfmpegMovie.h"

Movie::~Movie() = default;

std::unique_ptr<Movie> Movie::open(const QString& path, QString* error)
{
    return FfmpegMovie::open(path, error);
}
