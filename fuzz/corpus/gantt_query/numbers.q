'Duration'='12abc'
OR
'Duration'!='info'
OR
'Start'=' 1e3 '
OR
'Robot'='?ö*'
