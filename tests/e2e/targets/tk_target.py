"""A stand-in messenger window in Tk: an entry and a "Send" button on Alt+S that
appends what the entry holds to a file, one message per line, and empties the entry."""
import sys
import tkinter

log = sys.argv[1]
root = tkinter.Tk()
root.title("Tk Target")
root.geometry("400x60+100+100")
entry = tkinter.Entry(root, width=40)
entry.pack(side="left", padx=4)


def send(_event=None):
    with open(log, "a", encoding="utf-8") as f:
        f.write(entry.get() + "\n")
    entry.delete(0, "end")
    return "break"


tkinter.Button(root, text="Send", underline=0, command=send).pack(side="left")
root.bind_all("<Alt-s>", send)
entry.focus_set()
root.mainloop()
