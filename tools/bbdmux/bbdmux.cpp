// bbdmux INPUT STREAM_ID OUTPUT
//
// Copies the elementary stream with the given MPEG stream id (0xc0: the
// first MPEG audio stream) out of an MPEG program stream into OUTPUT. While
// it copies it prints lines that begin with the number of bytes written
// since the previous line, which is how Kestrin follows its progress.
//
// Exit status: 0 copied, 1 failed (message on standard error), 3 the input
// holds no such stream (OUTPUT is not created).

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitNoStream = 3;
// Progress lines come at most once per this many bytes, and at the end.
constexpr unsigned long long kReportEvery = 16 * 1024;

struct Input
{
    AVFormatContext *context = nullptr;
    ~Input() { avformat_close_input(&context); }
};

struct Packet
{
    AVPacket *packet = av_packet_alloc();
    ~Packet() { av_packet_free(&packet); }
};

int fail(const std::string &message)
{
    std::fprintf(stderr, "bbdmux: %s\n", message.c_str());
    return kExitFailed;
}

std::string avError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

bool parseStreamId(const char *text, int *id)
{
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value < 0 || value > 0xff)
        return false;
    *id = int(value);
    return true;
}

// Program streams give their streams the id of the start code (0x1c0 for
// audio stream 0xc0); accept the bare id as well.
int findStream(const AVFormatContext *context, int id)
{
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const int streamId = context->streams[i]->id;
        if (streamId == (0x100 | id) || streamId == id)
            return int(i);
    }
    return -1;
}

void report(unsigned long long *pending)
{
    std::printf("%llu bytes\n", *pending);
    std::fflush(stdout);
    *pending = 0;
}

int copyStream(AVFormatContext *context, int streamIndex, std::FILE *output)
{
    Packet packet;
    if (!packet.packet)
        return fail("out of memory");
    unsigned long long pending = 0;
    int status = 0;
    while ((status = av_read_frame(context, packet.packet)) >= 0) {
        if (packet.packet->stream_index == streamIndex && packet.packet->size > 0) {
            if (std::fwrite(packet.packet->data, 1, size_t(packet.packet->size), output)
                != size_t(packet.packet->size)) {
                av_packet_unref(packet.packet);
                return fail(std::string("cannot write the output: ") + std::strerror(errno));
            }
            pending += unsigned(packet.packet->size);
            if (pending >= kReportEvery)
                report(&pending);
        }
        av_packet_unref(packet.packet);
    }
    if (status != AVERROR_EOF)
        std::fprintf(stderr, "bbdmux: the input ends early: %s\n", avError(status).c_str());
    if (std::fflush(output) != 0)
        return fail(std::string("cannot write the output: ") + std::strerror(errno));
    report(&pending);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bbdmux INPUT STREAM_ID OUTPUT   (STREAM_ID 0xc0: the first MPEG audio)\n");
        return kExitFailed;
    }
    int id = 0;
    if (!parseStreamId(argv[2], &id))
        return fail(std::string("not a stream id: ") + argv[2]);
    av_log_set_level(AV_LOG_ERROR);

    Input input;
    int status = avformat_open_input(&input.context, argv[1], nullptr, nullptr);
    if (status < 0)
        return fail(std::string(argv[1]) + ": " + avError(status));
    status = avformat_find_stream_info(input.context, nullptr);
    if (status < 0)
        return fail(std::string(argv[1]) + ": " + avError(status));
    const int streamIndex = findStream(input.context, id);
    if (streamIndex < 0) {
        std::fprintf(stderr, "bbdmux: %s holds no stream 0x%02x\n", argv[1], id);
        return kExitNoStream;
    }
    for (unsigned i = 0; i < input.context->nb_streams; ++i)
        input.context->streams[i]->discard = int(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    std::FILE *output = std::fopen(argv[3], "wb");
    if (!output)
        return fail(std::string(argv[3]) + ": " + std::strerror(errno));
    int result = copyStream(input.context, streamIndex, output);
    if (std::fclose(output) != 0 && result == 0)
        result = fail(std::string("cannot write the output: ") + std::strerror(errno));
    if (result != 0)
        std::remove(argv[3]);
    return result;
}
