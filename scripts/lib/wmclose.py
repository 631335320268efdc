# Asks an X window to close, as a window manager's close button does: a WM_DELETE_WINDOW client
# message (ICCCM 4.2.8.1). Usage: python3 wmclose.py WINDOW_ID (decimal or 0x...), on $DISPLAY.
# Needs python3-xlib (Debian's /usr/bin/python3).
import sys

from Xlib import X, display
from Xlib.protocol import event

d = display.Display()
window = d.create_resource_object('window', int(sys.argv[1], 0))
wm_protocols = d.intern_atom('WM_PROTOCOLS')
wm_delete_window = d.intern_atom('WM_DELETE_WINDOW')
if wm_delete_window not in (window.get_wm_protocols() or []):
    sys.exit(f'wmclose: window {sys.argv[1]} does not take WM_DELETE_WINDOW')
window.send_event(event.ClientMessage(window=window, client_type=wm_protocols,
                                      data=(32, [wm_delete_window, X.CurrentTime, 0, 0, 0])),
                  event_mask=X.NoEventMask)
d.sync()
