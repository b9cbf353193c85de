// key_to_pixels: how long a key sent through the X server takes to change
// what a window shows in one region. Talks to the X server only (XTest for
// the key, XShm for the pixels), so it times what a user sees: the program's
// reading of the key, its work, the engine's drawing and the program's
// putting the picture on the screen.
//
//   key_to_pixels WINDOW X,Y,W,H quiet  QUIET_MS TIMEOUT_MS
//       waits until the region has not changed for QUIET_MS.
//   key_to_pixels WINDOW X,Y,W,H key KEYSYM [QUIET_MS [SETTLE_MS [TIMEOUT_MS]]]
//       waits until the region is quiet for QUIET_MS (default 200), takes its
//       pixels, sends KEYSYM (press and release), then reads the region again
//       and again, with no pause, until any pixel differs; then goes on until
//       nothing has changed for SETTLE_MS (default 300). Prints
//         first_ms=F shown_ms=S last_ms=L changes=N polls=P poll_ms=T sent_at=K
//       F is from just before the key was sent to the first read that
//       differed, S to the first that differed and was not all of one
//       colour (an engine that goes through an empty page shows it blank
//       first), L to the last read that differed (the picture complete),
//       N the number of reads that differed from the one before, T the mean
//       time of one read, K the moment the key was sent (ms since the epoch,
//       the clock of the program's notes).
//   key_to_pixels WINDOW X,Y,W,H snapshot FILE.ppm
//       writes the region's pixels as a picture, to look at.
//
// With KEY_TO_PIXELS_FRAMES naming a folder, key writes there every picture
// it saw change, as frame-N.ppm, to look at.
//
// WINDOW is an X window id (decimal or 0x hex); the region is in the
// window's own coordinates. Exits 2 on a usage or X error, 3 when the region
// did not change, or never fell quiet, within its time.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

[[noreturn]] void fail(const std::string &why, int code = 2)
{
    std::fprintf(stderr, "key_to_pixels: %s\n", why.c_str());
    std::exit(code);
}

// The region's pixels, read into shared memory by the X server.
class ScreenRegion {
public:
    ScreenRegion(Display *display, Window window, int x, int y, int width, int height) : m_display(display)
    {
        int major = 0, minor = 0;
        Bool pixmaps = False;
        if (!XShmQueryVersion(display, &major, &minor, &pixmaps))
            fail("the X server has no MIT-SHM");
        Window child = 0;
        if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &m_x, &m_y, &child))
            fail("the window is on another screen");
        const int screen = DefaultScreen(display);
        m_image = XShmCreateImage(display, DefaultVisual(display, screen), unsigned(DefaultDepth(display, screen)), ZPixmap,
                                  nullptr, &m_shm, unsigned(width), unsigned(height));
        if (!m_image)
            fail("no shared-memory image");
        m_shm.shmid = shmget(IPC_PRIVATE, size_t(m_image->bytes_per_line) * size_t(height), IPC_CREAT | 0600);
        if (m_shm.shmid < 0)
            fail("shmget failed");
        m_shm.shmaddr = m_image->data = static_cast<char *>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        if (!XShmAttach(display, &m_shm))
            fail("XShmAttach failed");
        XSync(display, False);
        // Gone with the process, whatever way it ends.
        shmctl(m_shm.shmid, IPC_RMID, nullptr);
        m_rowBytes = size_t(width) * size_t(m_image->bits_per_pixel / 8);
    }

    ~ScreenRegion()
    {
        XShmDetach(m_display, &m_shm);
        XDestroyImage(m_image);
        shmdt(m_shm.shmaddr);
    }

    ScreenRegion(const ScreenRegion &) = delete;
    ScreenRegion &operator=(const ScreenRegion &) = delete;

    void read()
    {
        if (!XShmGetImage(m_display, DefaultRootWindow(m_display), m_image, m_x, m_y, AllPlanes))
            fail("XShmGetImage failed (is the region on the screen?)");
    }

    // The pixels as last read, without the rows' padding.
    std::vector<unsigned char> pixels() const
    {
        std::vector<unsigned char> copy(m_rowBytes * size_t(m_image->height));
        for (int row = 0; row < m_image->height; ++row)
            std::memcpy(copy.data() + size_t(row) * m_rowBytes, row_(row), m_rowBytes);
        return copy;
    }

    bool allOneColour() const
    {
        const int bytes = m_image->bits_per_pixel / 8;
        for (int row = 0; row < m_image->height; ++row)
            for (size_t at = 0; at < m_rowBytes; at += size_t(bytes))
                if (std::memcmp(row_(row) + at, m_image->data, size_t(bytes)) != 0)
                    return false;
        return true;
    }

    bool differsFrom(const std::vector<unsigned char> &pixels) const
    {
        for (int row = 0; row < m_image->height; ++row)
            if (std::memcmp(pixels.data() + size_t(row) * m_rowBytes, row_(row), m_rowBytes) != 0)
                return true;
        return false;
    }

    // Writes pixels taken from this region as a picture.
    void writePpm(const std::vector<unsigned char> &pixels, const char *path) const
    {
        if (m_image->bits_per_pixel != 32)
            fail("pictures only of a 32-bit screen");
        FILE *file = std::fopen(path, "wb");
        if (!file)
            fail(std::string("cannot write ") + path);
        std::fprintf(file, "P6\n%d %d\n255\n", m_image->width, m_image->height);
        for (int y = 0; y < m_image->height; ++y)
            for (int x = 0; x < m_image->width; ++x) {
                std::uint32_t pixel = 0;
                std::memcpy(&pixel, pixels.data() + size_t(y) * m_rowBytes + size_t(x) * 4, 4);
                const unsigned char rgb[3] = {static_cast<unsigned char>((pixel & m_image->red_mask) >> 16),
                                              static_cast<unsigned char>((pixel & m_image->green_mask) >> 8),
                                              static_cast<unsigned char>(pixel & m_image->blue_mask)};
                std::fwrite(rgb, 1, 3, file);
            }
        std::fclose(file);
    }

private:
    const char *row_(int row) const { return m_image->data + size_t(row) * size_t(m_image->bytes_per_line); }

    Display *m_display;
    XShmSegmentInfo m_shm{};
    XImage *m_image = nullptr;
    int m_x = 0, m_y = 0;
    size_t m_rowBytes = 0;
};

// Reads until the region has not changed for quietMs; false past timeoutMs.
bool waitQuiet(ScreenRegion &region, double quietMs, double timeoutMs)
{
    const auto start = Clock::now();
    region.read();
    std::vector<unsigned char> last = region.pixels();
    auto lastChange = start;
    for (;;) {
        const auto now = Clock::now();
        if (msBetween(lastChange, now) >= quietMs)
            return true;
        if (msBetween(start, now) > timeoutMs)
            return false;
        region.read();
        if (region.differsFrom(last)) {
            last = region.pixels();
            lastChange = Clock::now();
        }
    }
}

KeyCode keycodeOf(Display *display, const char *name)
{
    const KeySym sym = XStringToKeysym(name);
    if (sym == NoSymbol)
        fail(std::string("no keysym ") + name);
    const KeyCode code = XKeysymToKeycode(display, sym);
    // Only keys typed without a modifier: a shifted one would need Shift
    // pressed as well, which is another key for the program to read.
    if (code == 0 || XkbKeycodeToKeysym(display, code, 0, 0) != sym)
        fail(std::string("the keyboard map has no plain key for ") + name);
    return code;
}

int measureKey(Display *display, ScreenRegion &region, const char *keyName, double quietMs, double settleMs, double timeoutMs)
{
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        fail("the X server has no XTEST");
    const KeyCode code = keycodeOf(display, keyName);
    if (!waitQuiet(region, quietMs, 10000))
        fail("the region did not fall quiet before the key", 3);
    region.read();
    const std::vector<unsigned char> before = region.pixels();

    const auto sent = Clock::now();
    const auto sentWallClock = std::chrono::system_clock::now();
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);

    const char *framesDir = std::getenv("KEY_TO_PIXELS_FRAMES");
    std::vector<std::vector<unsigned char>> frames;
    long polls = 0;
    for (;;) {
        region.read();
        ++polls;
        if (region.differsFrom(before))
            break;
        if (msBetween(sent, Clock::now()) > timeoutMs)
            fail("the region did not change", 3);
    }
    const auto first = Clock::now();
    auto last = first;
    auto shownAt = region.allOneColour() ? Clock::time_point() : first;
    int changes = 1;
    std::vector<unsigned char> shown = region.pixels();
    if (framesDir)
        frames.push_back(shown);
    for (;;) {
        region.read();
        ++polls;
        const auto now = Clock::now();
        if (region.differsFrom(shown)) {
            shown = region.pixels();
            last = now;
            ++changes;
            if (shownAt == Clock::time_point() && !region.allOneColour())
                shownAt = now;
            if (framesDir)
                frames.push_back(shown);
        } else if (msBetween(last, now) >= settleMs) {
            break;
        }
        if (msBetween(sent, now) > timeoutMs)
            fail("the region did not settle", 3);
    }
    const auto end = Clock::now();
    if (!region.differsFrom(before))
        fail("the region changed and came back as it was", 3);
    if (shownAt == Clock::time_point())
        fail("the region was left blank", 3);
    for (size_t i = 0; i < frames.size(); ++i)
        region.writePpm(frames[i], (std::string(framesDir) + "/frame-" + std::to_string(i + 1) + ".ppm").c_str());
    std::printf("first_ms=%.2f shown_ms=%.2f last_ms=%.2f changes=%d polls=%ld poll_ms=%.3f sent_at=%lld\n", msBetween(sent, first),
                msBetween(sent, shownAt), msBetween(sent, last), changes, polls, msBetween(sent, end) / double(polls),
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(sentWallClock.time_since_epoch()).count()));
    return 0;
}

double numberArg(int argc, char **argv, int index, double fallback)
{
    return index < argc ? std::atof(argv[index]) : fallback;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
        fail("usage: key_to_pixels WINDOW X,Y,W,H quiet|key|snapshot ...");
    const Window window = std::strtoul(argv[1], nullptr, 0);
    int x = 0, y = 0, width = 0, height = 0;
    if (std::sscanf(argv[2], "%d,%d,%d,%d", &x, &y, &width, &height) != 4 || width <= 0 || height <= 0)
        fail(std::string("bad region ") + argv[2]);
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        fail("no X display");
    int result = 0;
    {
        ScreenRegion region(display, window, x, y, width, height);
        const std::string mode = argv[3];
        if (mode == "quiet" && argc >= 6) {
            result = waitQuiet(region, std::atof(argv[4]), std::atof(argv[5])) ? 0 : 3;
        } else if (mode == "key" && argc >= 5) {
            result = measureKey(display, region, argv[4], numberArg(argc, argv, 5, 200), numberArg(argc, argv, 6, 300),
                                numberArg(argc, argv, 7, 10000));
        } else if (mode == "snapshot" && argc >= 5) {
            region.read();
            region.writePpm(region.pixels(), argv[4]);
        } else {
            fail("usage: key_to_pixels WINDOW X,Y,W,H quiet|key|snapshot ...");
        }
    }
    XCloseDisplay(display);
    return result;
}
