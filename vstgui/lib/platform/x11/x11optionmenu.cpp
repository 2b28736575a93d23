#include "x11optionmenu.h"
#include "../../cairo/fontresolver.h"
#include "../../controls/coptionmenu.h"
#include "../../cframe.h"
#include "x11errorscope.h"
#include "x11frame.h"
#include "x11putimage.h"
#include "platform/Utf8Text.h"
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cairo.h>
#include <poll.h>
#include <vector>

namespace VSTGUI {

namespace {

// Layout of a menu column, pixels.
constexpr double kItemHeight = 20.;
constexpr double kSeparatorHeight = 7.;
constexpr double kCheckWidth = 18.;
constexpr double kArrowWidth = 18.;
constexpr double kPadding = 6.;
constexpr double kFontSize = 12.;

const CColor kMenuBack (240, 240, 240, 255);
const CColor kMenuText (20, 20, 20, 255);
const CColor kMenuDisabled (150, 150, 150, 255);
const CColor kMenuHighlight (60, 110, 190, 255);
const CColor kMenuHighlightText (255, 255, 255, 255);
const CColor kMenuLine (180, 180, 180, 255);

void setColor (cairo_t* cr, const CColor& c)
{
	cairo_set_source_rgba (cr, c.red / 255., c.green / 255., c.blue / 255., c.alpha / 255.);
}

bool selectable (CMenuItem* item)
{
	return item && !item->isSeparator () && !item->isTitle () && item->isEnabled ();
}

/** One open menu window: the main menu or a submenu. */
struct Level
{
	COptionMenu* menu {nullptr};
	Window window {0};
	CRect bounds;            // on the screen
	std::vector<CRect> cells; // per entry, in the window
	int hovered {-1};
	cairo_surface_t* surface {nullptr};
};

class MenuSession
{
public:
	MenuSession (Display* display) : display (display)
	{
		screen = DefaultScreen (display);
		root = RootWindow (display, screen);
		visual = DefaultVisual (display, screen);
		depth = DefaultDepth (display, screen);
		releaseCairoStaticDataAtExit ();
	}
	~MenuSession ()
	{
		while (!levels.empty ())
			closeLevel ();
	}

	PlatformOptionMenuResult run (COptionMenu* menu, int x, int y)
	{
		openLevel (menu, x, y);
		// Another client may hold the pointer for a moment: try for about half a second.
		int grab = GrabNotViewable;
		for (int attempt = 0; attempt < 50; ++attempt)
		{
			grab = XGrabPointer (display, levels[0].window, False,
			                     ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
			                     GrabModeAsync, None, None, CurrentTime);
			if (grab == GrabSuccess)
				break;
			poll (nullptr, 0, 10);
		}
		if (grab != GrabSuccess)
			return {};
		XGrabKeyboard (display, levels[0].window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
		XFlush (display);
		PlatformOptionMenuResult result;
		bool done = false;
		bool pressedInside = false;
		while (!done)
		{
			if (!XPending (display))
			{
				pollfd fd {ConnectionNumber (display), POLLIN, 0};
				poll (&fd, 1, 100);
				if (fd.revents & (POLLERR | POLLHUP))
					break;
				continue;
			}
			XEvent e;
			XNextEvent (display, &e);
			switch (e.type)
			{
				case Expose:
					for (auto& level : levels)
						if (level.window == e.xexpose.window)
							paint (level);
					break;
				case MotionNotify: hover (e.xmotion.x_root, e.xmotion.y_root); break;
				case ButtonPress:
				{
					hover (e.xbutton.x_root, e.xbutton.y_root);
					if (levelAt (e.xbutton.x_root, e.xbutton.y_root) < 0)
						done = true; // a click outside every menu cancels
					else
						pressedInside = true;
					break;
				}
				case ButtonRelease:
				{
					// The release of the click that opened the menu chooses nothing.
					if (!pressedInside)
						break;
					int l = levelAt (e.xbutton.x_root, e.xbutton.y_root);
					if (l < 0)
						break;
					Level& level = levels[static_cast<size_t> (l)];
					int i = itemAt (level, e.xbutton.x_root, e.xbutton.y_root);
					CMenuItem* item = level.menu->getEntry (i);
					if (selectable (item) && !item->getSubmenu ())
					{
						result = {level.menu, i};
						done = true;
					}
					break;
				}
				case KeyPress:
				{
					KeySym sym = XLookupKeysym (&e.xkey, 0);
					if (sym == XK_Escape)
						done = true;
					break;
				}
				default: break;
			}
		}
		XUngrabKeyboard (display, CurrentTime);
		XUngrabPointer (display, CurrentTime);
		XFlush (display);
		return result;
	}

private:
	void layout (Level& level, double& width, double& height)
	{
		cairo_surface_t* scratch = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 1, 1);
		cairo_t* cr = cairo_create (scratch);
		selectFont (cr);
		int count = level.menu->getNbEntries ();
		int perColumn = level.menu->getNbItemsPerColumn ();
		if (perColumn <= 0)
			perColumn = std::max (count, 1);
		double textWidth = 40.; // pixels: the narrowest a column gets, even for short names
		for (int i = 0; i < count; ++i)
		{
			cairo_text_extents_t ext;
			cairo_text_extents (cr, displayableUtf8 (level.menu->getEntry (i)->getTitle ()).c_str (), &ext);
			textWidth = std::max (textWidth, ext.x_advance);
		}
		cairo_destroy (cr);
		cairo_surface_destroy (scratch);
		double columnWidth = std::ceil (kCheckWidth + textWidth + kArrowWidth + kPadding);
		level.cells.clear ();
		double y = 0., tallest = 0.;
		int column = 0;
		for (int i = 0; i < count; ++i)
		{
			if (i > 0 && i % perColumn == 0)
			{
				++column;
				y = 0.;
			}
			double h = level.menu->getEntry (i)->isSeparator () ? kSeparatorHeight : kItemHeight;
			level.cells.push_back (CRect (column * columnWidth, y, (column + 1) * columnWidth, y + h));
			y += h;
			tallest = std::max (tallest, y);
		}
		width = (column + 1) * columnWidth;
		height = std::max (tallest, kItemHeight);
	}

	static void selectFont (cairo_t* cr)
	{
		const std::string& family = resolveFontFamily (kNormalFont->getName ());
		cairo_select_font_face (cr, family.c_str (), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
		cairo_set_font_size (cr, kFontSize);
	}

	void openLevel (COptionMenu* menu, int x, int y)
	{
		Level level;
		level.menu = menu;
		double w, h;
		layout (level, w, h);
		int sw = DisplayWidth (display, screen), sh = DisplayHeight (display, screen);
		// Keep the window on the screen.
		x = std::max (0, std::min (x, sw - static_cast<int> (w)));
		y = std::max (0, std::min (y, sh - static_cast<int> (h)));
		level.bounds = CRect (x, y, x + w, y + h);
		XSetWindowAttributes attributes {};
		attributes.override_redirect = True;
		attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
		level.window = XCreateWindow (display, root, x, y, static_cast<unsigned> (w), static_cast<unsigned> (h), 0,
		                              depth, InputOutput, visual, CWOverrideRedirect | CWEventMask, &attributes);
		level.surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, static_cast<int> (w), static_cast<int> (h));
		XMapRaised (display, level.window);
		levels.push_back (level);
		if (!gc)
			gc = XCreateGC (display, levels[0].window, 0, nullptr);
		paint (levels.back ());
	}

	void closeLevel ()
	{
		Level& level = levels.back ();
		XDestroyWindow (display, level.window);
		cairo_surface_destroy (level.surface);
		levels.pop_back ();
		if (levels.empty () && gc)
		{
			XFreeGC (display, gc);
			gc = nullptr;
		}
	}

	void paint (Level& level)
	{
		cairo_t* cr = cairo_create (level.surface);
		setColor (cr, kMenuBack);
		cairo_paint (cr);
		selectFont (cr);
		cairo_font_extents_t font;
		cairo_font_extents (cr, &font);
		for (int i = 0; i < level.menu->getNbEntries (); ++i)
		{
			CMenuItem* item = level.menu->getEntry (i);
			const CRect& c = level.cells[static_cast<size_t> (i)];
			if (item->isSeparator ())
			{
				setColor (cr, kMenuLine);
				cairo_rectangle (cr, c.left + 4, std::floor (c.top + c.getHeight () / 2.), c.getWidth () - 8, 1);
				cairo_fill (cr);
				continue;
			}
			bool highlighted = i == level.hovered && selectable (item);
			if (highlighted)
			{
				setColor (cr, kMenuHighlight);
				cairo_rectangle (cr, c.left, c.top, c.getWidth (), c.getHeight ());
				cairo_fill (cr);
			}
			setColor (cr, highlighted ? kMenuHighlightText : selectable (item) ? kMenuText : kMenuDisabled);
			double baseline = std::round (c.top + (c.getHeight () + font.ascent - font.descent) / 2.);
			if (item->isChecked ())
			{
				// A tick drawn as two strokes (pixels from the check column's corner).
				cairo_set_line_width (cr, 2.);
				cairo_move_to (cr, c.left + 5, c.top + 10);
				cairo_line_to (cr, c.left + 8, c.top + 14);
				cairo_line_to (cr, c.left + 14, c.top + 6);
				cairo_stroke (cr);
			}
			cairo_move_to (cr, c.left + kCheckWidth, baseline);
			cairo_show_text (cr, displayableUtf8 (item->getTitle ()).c_str ());
			if (item->getSubmenu ())
			{
				double ax = c.right - kArrowWidth / 2. - 2., ay = c.top + c.getHeight () / 2.;
				cairo_move_to (cr, ax - 3, ay - 5);
				cairo_line_to (cr, ax + 3, ay);
				cairo_line_to (cr, ax - 3, ay + 5);
				cairo_close_path (cr);
				cairo_fill (cr);
			}
		}
		setColor (cr, kMenuLine);
		cairo_set_line_width (cr, 1.);
		cairo_rectangle (cr, 0.5, 0.5, level.bounds.getWidth () - 1., level.bounds.getHeight () - 1.);
		cairo_stroke (cr);
		cairo_destroy (cr);
		x11PutImage (display, level.window, gc, visual, depth, level.surface,
		             CRect (0, 0, level.bounds.getWidth (), level.bounds.getHeight ()));
		XFlush (display);
	}

	/** The deepest open level under the screen point, or -1. */
	int levelAt (int x, int y) const
	{
		for (int l = static_cast<int> (levels.size ()) - 1; l >= 0; --l)
			if (levels[static_cast<size_t> (l)].bounds.pointInside (CPoint (x, y)))
				return l;
		return -1;
	}

	static int itemAt (const Level& level, int x, int y)
	{
		CPoint p (x - level.bounds.left, y - level.bounds.top);
		for (size_t i = 0; i < level.cells.size (); ++i)
			if (level.cells[i].pointInside (p))
				return static_cast<int> (i);
		return -1;
	}

	void hover (int x, int y)
	{
		int l = levelAt (x, y);
		if (l < 0)
			return;
		Level* level = &levels[static_cast<size_t> (l)];
		int i = itemAt (*level, x, y);
		if (i != level->hovered)
		{
			level->hovered = i;
			paint (*level);
		}
		CMenuItem* item = level->menu->getEntry (i);
		COptionMenu* sub = selectable (item) ? item->getSubmenu () : nullptr;
		// Deeper levels stay only while they belong to the entry pointed at.
		size_t keep = static_cast<size_t> (l) + 1;
		if (sub && levels.size () > keep && levels[keep].menu == sub)
			keep += 1;
		while (levels.size () > keep)
			closeLevel ();
		level = &levels[static_cast<size_t> (l)];
		if (sub && levels.size () == static_cast<size_t> (l) + 1)
		{
			const CRect& c = level->cells[static_cast<size_t> (i)];
			openLevel (sub, static_cast<int> (level->bounds.left + c.right), static_cast<int> (level->bounds.top + c.top));
		}
	}

	Display* display;
	int screen;
	Window root;
	Visual* visual;
	int depth;
	GC gc {nullptr};
	std::vector<Level> levels;
};

} // namespace

PlatformOptionMenuResult X11OptionMenu::popup (COptionMenu* optionMenu)
{
	if (!optionMenu || !frame || !frame->getDisplay ())
		return {};
	// The menu's position: below the control, on the screen.
	CPoint corner (optionMenu->getViewSize ().left, optionMenu->getViewSize ().bottom);
	optionMenu->localToFrame (corner);
	int x = 0, y = 0;
	{
		X11ErrorScope scope (frame->getDisplay ());
		Window child;
		XTranslateCoordinates (frame->getDisplay (), frame->getWindow (), DefaultRootWindow (frame->getDisplay ()),
		                       static_cast<int> (corner.x), static_cast<int> (corner.y), &x, &y, &child);
		// The click that opened the menu holds the pointer for the frame's window: let go of
		// it so that the menu's own connection can take the pointer.
		XUngrabPointer (frame->getDisplay (), CurrentTime);
		XFlush (frame->getDisplay ());
	}
	Display* display = XOpenDisplay (nullptr);
	if (!display)
		return {};
	PlatformOptionMenuResult result;
	{
		X11ErrorScope scope (display);
		{
			MenuSession session (display);
			result = session.run (optionMenu, x, y);
		}
		XCloseDisplay (display);
	}
	return result;
}

} // namespace VSTGUI
