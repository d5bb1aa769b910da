# Saves one TextGrid in the forms and encodings Praat writes: long and short text with Praat's own
# choice of encoding (UTF-16 for these accented labels), the same in UTF-8; and the forms we refuse: long
# text in ISO Latin-1, binary, chronological text.
form Make TextGrids
    sentence Folder
endform
# Its tier "vocals" annotates the demo recording (a, e, i, o, u spoken one by one), times in seconds.
Create TextGrid: 0, 9.6, "vocals punts altre", "punts"
Insert boundary: 1, 0.1
Insert boundary: 1, 1
Insert boundary: 1, 1.9
Insert boundary: 1, 3
Insert boundary: 1, 3.7
Insert boundary: 1, 4 + 2/3
Insert boundary: 1, 5.6
Insert boundary: 1, 6.6
Set interval text: 1, 2, "à"
Set interval text: 1, 4, "É"
Set interval text: 1, 6, "di""u ò"
Set interval text: 1, 8, "U"
Insert point: 2, 0.7, "È 91 818 582"
Insert point: 2, 1e-5, "A"
Insert boundary: 3, 1.5
Set interval text: 3, 1, "a"
Save as text file: folder$ + "/llarg-utf16.TextGrid"
Save as short text file: folder$ + "/curt-utf16.TextGrid"
Text writing preferences: "UTF-8"
Save as text file: folder$ + "/llarg-utf8.TextGrid"
Save as short text file: folder$ + "/curt-utf8.TextGrid"
Save as chronological text file: folder$ + "/cronologic.TextGrid"
Save as binary file: folder$ + "/binari.TextGrid"
Text writing preferences: "try ISO Latin-1, then UTF-16"
Save as text file: folder$ + "/latin1.TextGrid"
