'Name'='*weld*'
AND
'Duration'>='2'
AND
'Duration'<'8'
OR
'Robot'=='R?-*'
