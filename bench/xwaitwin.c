/*
 * xwaitwin TITLE-REGEX TIMEOUT-MS
 *
 * Waits for a viewable window whose title matches the POSIX extended regular
 * expression, then for its contents to be painted and to hold still, and
 * prints the milliseconds since this program started. Started right before
 * the program under test, that is the time from process start to the first
 * painted picture. Exits 1 when the time-out passes first.
 *
 * Painted means: two grabs 2 ms apart are identical, and the picture is not
 * one uniform colour equal to what the screen showed before the window was
 * mapped. A window that has not painted yet shows that, since the toolkit
 * gives its windows no background of their own; a window that paints itself
 * one uniform colour of its own still counts as painted.
 *
 * When no window manager runs, it gives each top-level window that appears
 * the input focus once, as a window manager would: a program that starts
 * its work on activation would otherwise wait for ever.
 *
 * Set XWAITWIN_VERBOSE=1 for a line per grab on stderr.
 */
#define _POSIX_C_SOURCE 200809L
#define _DEFAULT_SOURCE

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <regex.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>

static struct timespec started;
static int verbose;
static int xErrors;

static double elapsedMs(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)(now.tv_sec - started.tv_sec) * 1e3 + (double)(now.tv_nsec - started.tv_nsec) / 1e6;
}

static void sleepMs(long ms)
{
    struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, NULL);
}

/* Windows come and go while we look at them; a vanished one is no error. */
static int countErrors(Display *display, XErrorEvent *error)
{
    (void)display;
    (void)error;
    ++xErrors;
    return 0;
}

/* The window's title, preferring the UTF-8 one; free() the result. */
static char *windowTitle(Display *display, Window window)
{
    static Atom netWmName, utf8String;
    if (!netWmName) {
        netWmName = XInternAtom(display, "_NET_WM_NAME", False);
        utf8String = XInternAtom(display, "UTF8_STRING", False);
    }
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char *data = NULL;
    if (XGetWindowProperty(display, window, netWmName, 0, 4096, False, utf8String, &type, &format, &count,
                           &remaining, &data) == Success
        && data && type == utf8String && format == 8) {
        char *title = strndup((const char *)data, count);
        XFree(data);
        return title;
    }
    if (data)
        XFree(data);
    char *name = NULL;
    if (XFetchName(display, window, &name) && name) {
        char *title = strdup(name);
        XFree(name);
        return title;
    }
    return NULL;
}

static int isViewable(Display *display, Window window, XWindowAttributes *attributes)
{
    return XGetWindowAttributes(display, window, attributes) && attributes->map_state == IsViewable;
}

/* Top-level windows seen already: present at start, or focused by us. */
enum { KnownCapacity = 1024 };
static Window known[KnownCapacity];
static int knownCount;

static int isKnown(Window window)
{
    for (int i = 0; i < knownCount; ++i)
        if (known[i] == window)
            return 1;
    return 0;
}

static void remember(Window window)
{
    if (knownCount < KnownCapacity)
        known[knownCount++] = window;
}

static void rememberExisting(Display *display, Window root)
{
    Window parent, up, *children = NULL;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &parent, &up, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i)
        remember(children[i]);
    if (children)
        XFree(children);
}

/* A window manager is whoever redirects the root's map requests. */
static int windowManagerRuns(Display *display, Window root)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, root, &attributes)
        && (attributes.all_event_masks & SubstructureRedirectMask);
}

/* Without a window manager the program's windows are children of the root;
 * with a reparenting one they sit a level or two lower. */
static Window findWindow(Display *display, Window parent, const regex_t *pattern, int depth, int focusNew)
{
    Window root, up, *children = NULL;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return 0;
    for (unsigned int i = count; i-- > 0 && !found;) { /* topmost first */
        XWindowAttributes attributes;
        if (!isViewable(display, children[i], &attributes))
            continue;
        if (focusNew && !attributes.override_redirect && !isKnown(children[i])) {
            remember(children[i]);
            XSetInputFocus(display, children[i], RevertToParent, CurrentTime);
            if (verbose)
                fprintf(stderr, "xwaitwin: %.1f ms focused new window 0x%lx\n", elapsedMs(), children[i]);
        }
        char *title = windowTitle(display, children[i]);
        if (title && regexec(pattern, title, 0, NULL, 0) == 0)
            found = children[i];
        free(title);
        if (!found && depth > 1)
            found = findWindow(display, children[i], pattern, depth - 1, 0);
    }
    if (children)
        XFree(children);
    return found;
}

/* Grabs of one window. Through shared memory a grab costs a fraction of a
 * millisecond; through the socket it can take tens, too coarse a clock for
 * a start-up of a few hundred. */
typedef struct Grabber {
    Display *display;
    int shmAvailable;
    XShmSegmentInfo segment;
    XImage *shmImage;
} Grabber;

static void releaseShm(Grabber *g)
{
    if (!g->shmImage)
        return;
    XShmDetach(g->display, &g->segment);
    XDestroyImage(g->shmImage); /* frees only the XImage: data belongs to the segment */
    shmdt(g->segment.shmaddr);
    g->shmImage = NULL;
}

static int prepareShm(Grabber *g, const XWindowAttributes *attributes)
{
    if (g->shmImage && g->shmImage->width == attributes->width && g->shmImage->height == attributes->height)
        return 1;
    releaseShm(g);
    XImage *image = XShmCreateImage(g->display, attributes->visual, (unsigned)attributes->depth, ZPixmap, NULL,
                                    &g->segment, (unsigned)attributes->width, (unsigned)attributes->height);
    if (!image)
        return 0;
    g->segment.shmid = shmget(IPC_PRIVATE, (size_t)image->bytes_per_line * (size_t)image->height, IPC_CREAT | 0600);
    if (g->segment.shmid < 0) {
        XDestroyImage(image);
        return 0;
    }
    g->segment.shmaddr = image->data = shmat(g->segment.shmid, NULL, 0);
    g->segment.readOnly = False;
    const int errorsBefore = xErrors;
    const int attached = XShmAttach(g->display, &g->segment);
    XSync(g->display, False);
    shmctl(g->segment.shmid, IPC_RMID, NULL); /* gone once both sides detach */
    if (!attached || xErrors != errorsBefore) {
        XDestroyImage(image);
        shmdt(g->segment.shmaddr);
        return 0;
    }
    g->shmImage = image;
    return 1;
}

/* The window's current picture, or NULL; the image is the grabber's. */
static XImage *grab(Grabber *g, Window window, XImage **owned)
{
    *owned = NULL;
    XWindowAttributes attributes;
    if (!isViewable(g->display, window, &attributes) || attributes.width <= 0 || attributes.height <= 0)
        return NULL;
    if (g->shmAvailable && prepareShm(g, &attributes)) {
        if (XShmGetImage(g->display, window, g->shmImage, 0, 0, AllPlanes))
            return g->shmImage;
        return NULL;
    }
    g->shmAvailable = 0;
    *owned = XGetImage(g->display, window, 0, 0, (unsigned)attributes.width, (unsigned)attributes.height,
                       AllPlanes, ZPixmap);
    return *owned;
}

static unsigned long colourMask(const XImage *image)
{
    return image->red_mask | image->green_mask | image->blue_mask;
}

static int isUniform(XImage *image, unsigned long *colour)
{
    const unsigned long mask = colourMask(image);
    const unsigned long first = XGetPixel(image, 0, 0) & mask;
    *colour = first;
    if (image->bits_per_pixel == 32) {
        for (int y = 0; y < image->height; ++y) {
            const uint32_t *row = (const uint32_t *)(image->data + (size_t)y * image->bytes_per_line);
            for (int x = 0; x < image->width; ++x)
                if ((row[x] & mask) != first)
                    return 0;
        }
        return 1;
    }
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            if ((XGetPixel(image, x, y) & mask) != first)
                return 0;
    return 1;
}

/* The previous grab, kept as a copy since the shared image is refilled. */
typedef struct Picture {
    int width, height, bytesPerLine;
    size_t size;
    char *data;
} Picture;

static int samePicture(const Picture *p, const XImage *image)
{
    return p->data && p->width == image->width && p->height == image->height
        && p->bytesPerLine == image->bytes_per_line
        && memcmp(p->data, image->data, p->size) == 0;
}

static void keepPicture(Picture *p, const XImage *image)
{
    const size_t size = (size_t)image->bytes_per_line * (size_t)image->height;
    if (size != p->size) {
        free(p->data);
        p->data = malloc(size);
        p->size = size;
    }
    memcpy(p->data, image->data, size);
    p->width = image->width;
    p->height = image->height;
    p->bytesPerLine = image->bytes_per_line;
}

int main(int argc, char *argv[])
{
    clock_gettime(CLOCK_MONOTONIC, &started);
    if (argc != 3) {
        fprintf(stderr, "usage: xwaitwin TITLE-REGEX TIMEOUT-MS\n");
        return 2;
    }
    const double timeout = atof(argv[2]);
    verbose = getenv("XWAITWIN_VERBOSE") && atoi(getenv("XWAITWIN_VERBOSE")) > 0;
    regex_t pattern;
    if (regcomp(&pattern, argv[1], REG_EXTENDED | REG_NOSUB) != 0) {
        fprintf(stderr, "xwaitwin: bad regular expression: %s\n", argv[1]);
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xwaitwin: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(countErrors);
    const Window root = DefaultRootWindow(display);
    const int focusNew = !windowManagerRuns(display, root);
    rememberExisting(display, root);

    /* What an unpainted window shows: the root's picture, taken before the
     * program under test has had time to map anything. */
    unsigned long unpainted = 0;
    int unpaintedKnown = 0;
    XImage *corner = XGetImage(display, root, 0, 0, 1, 1, AllPlanes, ZPixmap);
    if (corner) {
        unpainted = XGetPixel(corner, 0, 0) & colourMask(corner);
        unpaintedKnown = 1;
        XDestroyImage(corner);
    }

    Window window = 0;
    while (!window) {
        window = findWindow(display, root, &pattern, 3, focusNew);
        if (window)
            break;
        if (elapsedMs() > timeout) {
            fprintf(stderr, "xwaitwin: no window titled \"%s\" within %s ms\n", argv[1], argv[2]);
            return 1;
        }
        sleepMs(1);
    }
    if (verbose)
        fprintf(stderr, "xwaitwin: %.1f ms window 0x%lx titled as asked\n", elapsedMs(), window);

    Grabber grabber = {display, XShmQueryExtension(display), {0}, NULL};
    Picture previous = {0};
    double previousAt = 0;
    for (;;) {
        XImage *owned = NULL;
        XImage *image = grab(&grabber, window, &owned);
        const double at = elapsedMs();
        if (image) {
            unsigned long colour = 0;
            const int uniform = isUniform(image, &colour);
            const int same = samePicture(&previous, image);
            if (verbose)
                fprintf(stderr, "xwaitwin: %.1f ms grab %dx%d %s%s\n", at, image->width, image->height,
                        uniform ? "uniform" : "varied", same ? ", unchanged" : "");
            const int blank = uniform && (!unpaintedKnown || colour == unpainted);
            if (same && !blank) {
                /* The picture was final when the first of the two grabs was taken. */
                printf("%.1f\n", previousAt);
                fflush(stdout);
                return 0;
            }
            keepPicture(&previous, image);
            previousAt = at;
            if (owned)
                XDestroyImage(owned);
        }
        if (elapsedMs() > timeout) {
            fprintf(stderr, "xwaitwin: the window did not settle within %s ms\n", argv[2]);
            return 1;
        }
        sleepMs(2);
    }
}
