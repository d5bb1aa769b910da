# Lists a TextGrid as Praat reads it: its span, then each tier's class and name and its intervals or
# points, fields separated by tabs, numbers as Praat prints them. With a second argument, also saves the
# grid there as Praat's long text format in UTF-8.
form List a TextGrid
    sentence File
    sentence Save
endform
tg = Read from file: file$
xmin = Get start time
xmax = Get end time
appendInfoLine: xmin, tab$, xmax
nt = Get number of tiers
for t to nt
    name$ = Get tier name: t
    interval = Is interval tier: t
    if interval
        appendInfoLine: "IntervalTier", tab$, name$
        n = Get number of intervals: t
        for i to n
            xmin = Get start time of interval: t, i
            xmax = Get end time of interval: t, i
            label$ = Get label of interval: t, i
            appendInfoLine: xmin, tab$, xmax, tab$, label$
        endfor
    else
        appendInfoLine: "TextTier", tab$, name$
        n = Get number of points: t
        for i to n
            time = Get time of point: t, i
            label$ = Get label of point: t, i
            appendInfoLine: time, tab$, label$
        endfor
    endif
endfor
if save$ <> ""
    Text writing preferences: "UTF-8"
    Save as text file: save$
endif
