# Saves one TextGrid in the forms and encodings Praat writes: long and short text with Praat's own
# choice of encoding (UTF-16 for these accented labels), the same in UTF-8; and the forms we refuse: long
# text in ISO Latin-1, binary, chronological text.
form Make TextGrids
    sentence Folder
endform
Create TextGrid: 0, 3, "vocals punts altre", "punts"
Insert boundary: 1, 0.5
Insert boundary: 1, 1 + 1/3
Insert boundary: 1, 2
Insert boundary: 1, 2.75
Set interval text: 1, 2, "à"
Set interval text: 1, 3, "É"
Set interval text: 1, 4, "di""u ò"
Set interval text: 1, 5, "ae"
Insert point: 2, 0.7, "È 91 818 582"
Insert point: 2, 1e-5, "A"
Insert boundary: 3, 1.5
Set interval text: 3, 1, "x"
Save as text file: folder$ + "/llarg-utf16.TextGrid"
Save as short text file: folder$ + "/curt-utf16.TextGrid"
Text writing preferences: "UTF-8"
Save as text file: folder$ + "/llarg-utf8.TextGrid"
Save as short text file: folder$ + "/curt-utf8.TextGrid"
Save as chronological text file: folder$ + "/cronologic.TextGrid"
Save as binary file: folder$ + "/binari.TextGrid"
Text writing preferences: "try ISO Latin-1, then UTF-16"
Save as text file: folder$ + "/latin1.TextGrid"
