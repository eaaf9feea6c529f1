'Type'='*a*a*a*a*a*a*a*a*a*a*a*a*a*b'
OR
'Name'>'caf'
AND
'Start'='+0x10'
